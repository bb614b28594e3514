# What `cmake --install` puts in place: the saver and the programs beside it, the
# library with its public headers under include/zvgfx, a CMake package
# (find_package(zvgfx) gives zvgfx::zvgfx) and zvgfx.pc for pkg-config.
# Components: saver (the saver itself), tools (the Linux programs around it), dev.
include(CMakePackageConfigHelpers)

install(TARGETS morv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT saver)
install(TARGETS zvgfx EXPORT zvgfxTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)

# zvgfx.h and every header it reaches, in their folders.
set(ZV_PUBLIC_HEADERS
  runtime/runtime.h runtime/strings.h runtime/random_timer.h runtime/cpu.h
  display/driver.h display/blit/blit.h display/host/window_host.h display/opengl/opengl_settings.h
  gfx/core/graphics_state.h gfx/core/draw_context.h gfx/core/pixel_ops.h gfx/core/screen.h
  gfx/core/palette.h gfx/core/ports.h
  gfx/image/image_buffer.h gfx/image/image.h gfx/image/put.h
  gfx/draw/line.h gfx/draw/paint.h gfx/draw/draw_macro.h gfx/draw/view.h
  gfx/text/fonts.h gfx/text/graphics_text.h gfx/text/text_engine.h
  input/keys.h input/input_hooks.h)
set(ZV_HEADER_DIR ${CMAKE_INSTALL_INCLUDEDIR}/zvgfx)
install(FILES ${CMAKE_SOURCE_DIR}/include/zvgfx.h DESTINATION ${ZV_HEADER_DIR} COMPONENT dev)
foreach(header ${ZV_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/${header} DESTINATION ${ZV_HEADER_DIR}/${folder} COMPONENT dev)
endforeach()

set(ZV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zvgfx)
install(EXPORT zvgfxTargets NAMESPACE zvgfx:: DESTINATION ${ZV_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/zvgfxConfig.cmake.in
  ${CMAKE_BINARY_DIR}/zvgfxConfig.cmake INSTALL_DESTINATION ${ZV_CMAKE_DIR})
# A consumer asking for a newer version than this one is refused by find_package.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zvgfxConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zvgfxConfig.cmake ${CMAKE_BINARY_DIR}/zvgfxConfigVersion.cmake
        DESTINATION ${ZV_CMAKE_DIR} COMPONENT dev)

# zvgfx.pc finds its prefix from where it lies, so an unpacked tree works as well as
# an installed one. The library is static: what it links against goes into Libs.
set(ZV_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH ZV_PC_TO_PREFIX /prefix/${ZV_PC_DIR} /prefix)
string(REGEX REPLACE "/$" "" ZV_PC_TO_PREFIX "${ZV_PC_TO_PREFIX}")
if(WIN32)
  set(ZV_PC_REQUIRES "")
  set(ZV_PC_SYSTEM_LIBS "-luser32 -lgdi32 -lkernel32 -lwinmm")
else()
  set(ZV_PC_REQUIRES "x11 xext xrandr xpresent")
  set(ZV_PC_SYSTEM_LIBS "-pthread")
  foreach(lib ${CMAKE_DL_LIBS})
    string(APPEND ZV_PC_SYSTEM_LIBS " -l${lib}")
  endforeach()
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/zvgfx.pc.in ${CMAKE_BINARY_DIR}/zvgfx.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zvgfx.pc DESTINATION ${ZV_PC_DIR} COMPONENT dev)

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/api.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT dev)
install(FILES ${CMAKE_SOURCE_DIR}/third_party/fonts/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME fonts.md COMPONENT dev)
