// A spinning colour triangle on a 640 x 480 OpenGL screen; any key ends it.
//
// The library opens a window with an OpenGL context; the program draws with OpenGL
// itself (the fixed-function pipeline here), and every page flip shows the frame and
// handles the window's messages.
#include "zvgfx.h"

#include <cstdio>

// After the library: <windows.h>, which the system's <GL/gl.h> needs, defines macros
// that would clash with the library's own names.
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>

int main() {
  zv::runtime_init();
  if (zv::screen_set_resolution(640, 480, 32, 1, zv::SCREEN_OPENGL | zv::SCREEN_MULTISAMPLE, 0) != 0) {
    std::fprintf(stderr, "No OpenGL screen could be opened.\n");
    return 1;
  }
  GLint samples = 0;
  glGetIntegerv(0x80A9 /* GL_SAMPLES */, &samples);
  std::printf("OpenGL: %s, %d samples\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)), samples);

  // A 4:3 view of the square from -1 to 1, so the triangle keeps its shape.
  glViewport(0, 0, 640, 480);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-4.0 / 3.0, 4.0 / 3.0, -1.0, 1.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

  const double start = zv::timer_seconds();
  long frames = 0;
  while (!zv::key_pending()) {
    const double seconds = zv::timer_seconds() - start;
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glRotated(seconds * 90.0, 0.0, 0.0, 1.0);  // a quarter turn a second
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex2f(0.0f, 0.8f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex2f(-0.7f, -0.4f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex2f(0.7f, -0.4f);
    glEnd();
    zv::screen_copy_page(-1, -1);  // shows the frame, then handles the window's messages
    ++frames;
  }
  const double seconds = zv::timer_seconds() - start;
  std::printf("%ld frames in %.1f s: %.1f frames per second\n", frames, seconds, seconds > 0 ? frames / seconds : 0.0);
  return 0;
}
