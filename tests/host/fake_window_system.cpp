#include "fake_window_system.h"

#include <algorithm>
#include <cstring>

#include "display/host/window_host.h"
#include "input/keys.h"
#include "runtime/runtime.h"

namespace zv::test {

FakeWindowWorld world;

namespace {

int window_token;

int32_t os_version() { return world.os_version; }
uint32_t register_mouse_enter_message() { return 0xC123; }
int32_t screensaver_active() { return world.screensaver_active; }
void set_screensaver_active(int32_t active) { world.screensaver_active = active; }
void register_class(WindowHost* host) {
  ++world.registered_classes;
  world.class_name = host->class_name;
}
void unregister_class(WindowHost*) { --world.registered_classes; }
bool track_mouse_leave(void*) {
  ++world.track_requests;
  return true;
}
bool get_cursor_pos(int32_t* x, int32_t* y) {
  *x = world.cursor_x;
  *y = world.cursor_y;
  return true;
}
void set_cursor_pos(int32_t x, int32_t y) {
  world.set_cursor_x = x;
  world.set_cursor_y = y;
}
void set_cursor_shape(bool visible) { world.cursor_shape_visible = visible; }
void post_set_cursor(void*) { ++world.set_cursor_posts; }
void clip_cursor(const ScreenRect* rect) {
  world.clipped = rect != nullptr;
  if (rect) world.clip_rect = *rect;
}
bool client_rect_on_screen(void*, ScreenRect* rect) {
  *rect = world.client;
  return true;
}
void client_to_screen(void*, int32_t* x, int32_t* y) {
  *x += world.client.left;
  *y += world.client.top;
}
bool window_rect(void*, ScreenRect* rect) {
  *rect = world.frame;
  return true;
}
void set_window_text(void*, const char* text) { world.window_text = text; }
void move_window(void*, int32_t x, int32_t y) {
  ++world.moves;
  world.moved_x = x;
  world.moved_y = y;
}
void* window_from_point(int32_t, int32_t) { return world.window_under_cursor; }
void capture_mouse(void*) { world.captured = true; }
void release_capture() { world.captured = false; }
bool has_capture(void*) { return world.captured; }
void set_timer(void*, uint32_t id, uint32_t) {
  if (std::find(world.timers.begin(), world.timers.end(), id) == world.timers.end()) world.timers.push_back(id);
}
void kill_timer(void*, uint32_t id) { std::erase(world.timers, id); }
void post_mouse_leave(void*) { ++world.leave_posts; }
void keyboard_state(uint8_t state[256]) { std::memcpy(state, world.keyboard, 256); }
int32_t vk_to_char(uint32_t vk) { return vk < 256 && world.dead_key[vk] ? -1 : static_cast<int32_t>(world.typed[vk & 0xFF]); }
int32_t to_ascii(uint32_t vk, uint32_t, const uint8_t*, uint8_t out[2]) {
  if (vk > 255 || world.typed[vk] == 0) return 0;
  out[0] = world.typed[vk];
  return 1;
}
void begin_paint(void*) {}
void end_paint(void*) {}

WindowSystem make_system(bool with_tracking) {
  WindowSystem s{};
  s.os_version = os_version;
  s.register_mouse_enter_message = register_mouse_enter_message;
  s.screensaver_active = screensaver_active;
  s.set_screensaver_active = set_screensaver_active;
  s.register_class = register_class;
  s.unregister_class = unregister_class;
  s.track_mouse_leave = with_tracking ? track_mouse_leave : nullptr;
  s.get_cursor_pos = get_cursor_pos;
  s.set_cursor_pos = set_cursor_pos;
  s.set_cursor_shape = set_cursor_shape;
  s.post_set_cursor = post_set_cursor;
  s.clip_cursor = clip_cursor;
  s.client_rect_on_screen = client_rect_on_screen;
  s.client_to_screen = client_to_screen;
  s.window_rect = window_rect;
  s.set_window_text = set_window_text;
  s.move_window = move_window;
  s.window_from_point = window_from_point;
  s.capture_mouse = capture_mouse;
  s.release_capture = release_capture;
  s.has_capture = has_capture;
  s.set_timer = set_timer;
  s.kill_timer = kill_timer;
  s.post_mouse_leave = post_mouse_leave;
  s.keyboard_state = keyboard_state;
  s.vk_to_char = vk_to_char;
  s.to_ascii = to_ascii;
  s.begin_paint = begin_paint;
  s.end_paint = end_paint;
  return s;
}

}  // namespace

const WindowSystem fake_window_system = make_system(true);
const WindowSystem fake_window_system_without_tracking = make_system(false);

void* fake_window() { return &window_token; }

FakeScreen::FakeScreen(int32_t width, int32_t height) {
  gs.width = width;
  gs.height = height;
  gs.scanline_size = 1;
  gs.dirty = dirty;
  gs.key_state = key_state;
  gs.event_ring = ring;
  gs.event_lock = mutex_create();
  current_screen = &gs;
}

FakeScreen::~FakeScreen() {
  current_screen = nullptr;
  mutex_destroy(gs.event_lock);
}

void reset_host(int32_t os_version) {
  window_host = WindowHost{};
  host_state = HostState{};
  world = FakeWindowWorld{};
  world.os_version = os_version;
  set_window_system(&fake_window_system);
  window_host.window = fake_window();
  window_host.os_version = os_version;
  window_host.active = 1;
  window_host.width = 640;
  window_host.height = 400;
  host_state.cursor_visible = 1;
  host_state.last_cursor_x = LAST_CURSOR_NONE;
  host_state.track_mouse = fake_window_system.track_mouse_leave;
  drain_keys();
}

std::vector<InputEvent> drain_events() {
  std::vector<InputEvent> events;
  InputEvent e;
  while (read_event(&e)) events.push_back(e);
  return events;
}

std::vector<int32_t> drain_keys() {
  std::vector<int32_t> keys;
  while (int32_t k = get_key()) keys.push_back(k);
  return keys;
}

}  // namespace zv::test
