// Opening and closing the window host, its window thread, and the window/full-screen switch.
#include <atomic>
#include <cstdio>
#include <cstring>

#include "display/driver.h"

#include "display/host/mouse_leave.h"
#include "display/host/window_host.h"
#include "display/host/window_system.h"
#include "gfx/core/palette.h"
#include "platform/platform.h"

namespace zv {

WindowHost window_host;
HostState host_state;

namespace {

const WindowSystem* installed_system = nullptr;

constexpr char CLASS_PREFIX[] = "zvgfxclass_";
constexpr int32_t THREAD_END_WAIT_MS = 1000;
constexpr uint32_t CLASS_STYLE_WINDOW = 11;  // double clicks, redraw on width and height changes
constexpr uint32_t CLASS_STYLE_OPENGL = 8;   // double clicks only

void copy_text(char* destination, int32_t size, const char* source) {
  int32_t n = 0;
  if (source) {
    while (n < size - 1 && source[n]) {
      destination[n] = source[n];
      ++n;
    }
  }
  destination[n] = 0;
}

// Runs the driver's thread body; when it ends before signalling, the waiting open is released.
void window_thread_body(void* argument) {
  auto* start_event = static_cast<platform::Event*>(argument);
  platform::Event* ended = host_state.thread_ended;  // the closer may give up on us and forget it
  window_host.window_thread_main(start_event);
  if (!std::atomic_ref<int32_t>(host_state.thread_started).load()) platform::event_set(start_event);
  platform::event_set(ended);
}

void stop_window_thread() {
  if (!host_state.thread) return;
  if (platform::event_wait(host_state.thread_ended, THREAD_END_WAIT_MS)) {
    platform::thread_join(host_state.thread);
    platform::event_destroy(host_state.thread_ended);
    platform::recursive_lock_destroy(host_state.lock);
    host_state.lock = nullptr;
  }
  // A thread that did not end in time may still be waiting for the lock (held by the
  // program), so the lock and the thread are left alive rather than freed under it.
  host_state.thread = nullptr;
  host_state.thread_ended = nullptr;
}

}  // namespace

const WindowSystem* window_system() { return installed_system; }
void set_window_system(const WindowSystem* system) { installed_system = system; }

bool host_running() { return std::atomic_ref<int32_t>(window_host.running).load() == 1; }

namespace {

void update_loop(void (*update)(GraphicsState* gs), void (*pump)(), HostPause pause) {
  while (host_running()) {
    if (pause == HOST_PAUSE_FIRST) platform::sleep_ms(HOST_UPDATE_CYCLE_MS);
    host_lock();
    // The closer may have given up waiting while the program held the lock.
    if (!host_running()) {
      host_unlock();
      break;
    }
    if (GraphicsState* gs = graphics_state()) update(gs);
    pump();
    host_unlock();
    if (pause == HOST_PAUSE_AFTER) platform::sleep_ms(HOST_UPDATE_CYCLE_MS);
  }
}

}  // namespace

void host_window_thread(platform::Event* start_event, void (*update)(GraphicsState* gs), void (*pump)(),
                        HostPause pause) {
  if (window_host.driver_open_hook() != 0) {
    window_host.driver_close_hook();
    return;
  }
  host_signal_started(start_event);
  window_host.active = 1;
  update_loop(update, pump, pause);
  window_host.driver_close_hook();
}

void host_picture_shown() { ++host_state.pictures_shown; }

void host_signal_started(platform::Event* start_event) {
  std::atomic_ref<int32_t>(host_state.thread_started).store(1);
  platform::event_set(start_event);
}

int32_t host_open(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                  int32_t flags) {
  const WindowSystem* ws = window_system();
  if (!ws) return -1;
  window_host.os_version = ws->os_version();
  window_host.monitor = ws->monitor_from_cursor ? ws->monitor_from_cursor() : nullptr;
  host_state.cursor_visible = 1;
  host_state.last_cursor_x = LAST_CURSOR_NONE;
  host_state.mouse_tracked = 0;
  window_host.mouse_clip = 0;
  host_state.mouse_enter_message = ws->register_mouse_enter_message();
  host_state.track_mouse = ws->track_mouse_leave ? ws->track_mouse_leave : emulate_track_mouse;

  if (!host_state.screensaver_saved) {
    host_state.saved_screensaver_active = ws->screensaver_active();
    host_state.screensaver_saved = 1;
  }
  ws->set_screensaver_active(0);

  std::memcpy(window_host.class_name, CLASS_PREFIX, sizeof CLASS_PREFIX - 1);
  copy_text(window_host.class_name + sizeof CLASS_PREFIX - 1, CLASS_NAME_SIZE - (sizeof CLASS_PREFIX - 1), title);
  copy_text(window_host.title, HOST_TITLE_SIZE, title);
  window_host.flags = flags;
  window_host.width = width;
  window_host.height = height;
  window_host.depth = depth;
  window_host.refresh_rate = refresh_rate;
  window_host.window_class.class_name = window_host.class_name;
  window_host.window_class.style = (flags & SCREEN_OPENGL) ? CLASS_STYLE_OPENGL : CLASS_STYLE_WINDOW;
  ws->register_class(&window_host);

  host_state.wheel = 0;
  host_state.buttons = 0;
  host_state.pictures_shown = 0;
  host_state.open_tick = platform::tick_count();
  std::atomic_ref<int32_t>(window_host.running).store(1);

  if ((flags & SCREEN_OPENGL) || !window_host.window_thread_main) {
    host_state.thread = nullptr;
    return (flags & SCREEN_OPENGL) ? 0 : -1;
  }
  if (!host_state.lock) host_state.lock = platform::recursive_lock_create();
  host_state.thread_ended = platform::event_create();
  platform::Event* start_event = platform::event_create();
  if (!host_state.lock || !host_state.thread_ended || !start_event) {
    if (start_event) platform::event_destroy(start_event);
    return -1;
  }
  host_state.thread_started = 0;
  host_state.thread = platform::thread_start(window_thread_body, start_event, true);
  if (!host_state.thread) {
    platform::event_destroy(start_event);
    return -1;
  }
  platform::event_wait(start_event, -1);
  platform::event_destroy(start_event);
  return std::atomic_ref<int32_t>(host_state.thread_started).load() ? 0 : -1;
}

void host_close() {
  if (!window_host.running) return;
  std::atomic_ref<int32_t>(window_host.running).store(0);
  // The screen goes away with the program's hold on it; the window thread needs the lock to end.
  GraphicsState* gs = graphics_state();
  if (gs && (gs->flags & GS_LOCKED) && host_state.thread) {
    gs->flags &= ~(GS_LOCKED | GS_AUTO_LOCKED);
    host_unlock();
  }
  stop_window_thread();
  if (display_verbose() && std::atomic_ref<int32_t>(host_state.thread_started).load()) {
    const uint32_t ms = platform::tick_count() - host_state.open_tick;
    std::fprintf(stderr, "zvgfx: %u pictures shown in %u ms (%.1f per second)\n", host_state.pictures_shown, ms,
                 ms ? host_state.pictures_shown * 1000.0 / ms : 0.0);
  }
  const WindowSystem* ws = window_system();
  if (ws && host_state.screensaver_saved) {
    ws->set_screensaver_active(host_state.saved_screensaver_active);
    host_state.screensaver_saved = 0;
  }
  if (ws) ws->unregister_class(&window_host);
  if (window_host.mouse_clip) {
    release_cursor_clip();
    window_host.mouse_clip = 0;
  }
}

int32_t switch_display() {
  if (host_state.mouse_tracked) post_event(InputEvent{EV_MOUSE_LEAVE, {}});
  if (window_host.flags & SCREEN_NO_SWITCH) return 0;
  const WindowSystem* ws = window_system();
  window_host.monitor =
      ws && ws->monitor_from_window && window_host.window ? ws->monitor_from_window(window_host.window) : nullptr;
  if (window_host.mouse_clip) release_cursor_clip();
  if (window_host.driver_close_hook) window_host.driver_close_hook();
  window_host.flags ^= SCREEN_FULLSCREEN;
  if (window_host.driver_open_hook && window_host.driver_open_hook() != 0) {
    if (window_host.driver_close_hook) window_host.driver_close_hook();
    window_host.flags ^= SCREEN_FULLSCREEN;
    window_host.driver_open_hook();
  }
  palette_reapply();
  mark_all_rows_dirty();
  window_host.active = 1;
  host_state.mouse_tracked = 0;
  return 0;
}

}  // namespace zv
