// The host's shared driver entries, the window/full-screen switch, and open/close.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "display/driver.h"
#include "display/host/window_host.h"
#include "fake_window_system.h"
#include "platform/platform.h"

namespace zv::test {
namespace {

class HostOperations : public testing::Test {
 protected:
  void SetUp() override { reset_host(); }
  FakeScreen screen;
};

TEST_F(HostOperations, PlaceMouseClampsTheCursorButStoresTheAskedPosition) {
  host_place_mouse(5000, -3, -1, -1);
  EXPECT_EQ(world.set_cursor_x, world.client.left + 639);
  EXPECT_EQ(world.set_cursor_y, world.client.top + 0);
  EXPECT_EQ(host_state.mouse_x, 5000);
  EXPECT_EQ(host_state.mouse_y, -3);
  EXPECT_EQ(world.set_cursor_posts, 0);
  EXPECT_FALSE(world.clipped);
  window_host.flags = SCREEN_FULLSCREEN;  // no client-to-screen conversion
  host_place_mouse(10, 20, -1, -1);
  EXPECT_EQ(world.set_cursor_x, 10);
  EXPECT_EQ(world.set_cursor_y, 20);
}

TEST_F(HostOperations, PlaceMouseWithNegativeXOnlyChangesVisibilityAndClip) {
  host_place_mouse(-1, -1, 0, -1);
  EXPECT_EQ(world.set_cursor_x, -1);
  EXPECT_EQ(host_state.cursor_visible, 0);
  EXPECT_EQ(world.set_cursor_posts, 1);
  host_place_mouse(-1, -1, 0, 1);  // unchanged visibility: no new set-cursor message
  EXPECT_EQ(world.set_cursor_posts, 1);
  EXPECT_EQ(window_host.mouse_clip, 1);
  EXPECT_TRUE(world.clipped);
  EXPECT_EQ(world.clip_rect.right, world.client.right);
  host_place_mouse(-1, -1, 1, 0);
  EXPECT_EQ(world.set_cursor_posts, 2);
  EXPECT_EQ(window_host.mouse_clip, 0);
  EXPECT_FALSE(world.clipped);
}

TEST_F(HostOperations, QueryMouseAnswersOnlyForAnActiveWindowWithTheCursorInside) {
  int32_t x = 77, y = 77, wheel = 77, buttons = 77, clip = 77;
  host_state.cursor_in_client = 0;
  EXPECT_EQ(host_query_mouse(&x, &y, &wheel, &buttons, &clip), -1);
  EXPECT_EQ(x, 77);
  host_state.cursor_in_client = 1;
  window_host.active = 0;
  EXPECT_EQ(host_query_mouse(&x, &y, &wheel, &buttons, &clip), -1);
  window_host.active = 1;
  host_state.mouse_x = 4;
  host_state.mouse_y = 5;
  host_state.wheel = -2;
  host_state.buttons = BUTTON_RIGHT;
  EXPECT_EQ(host_query_mouse(&x, &y, &wheel, &buttons, &clip), 0);
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 5);
  EXPECT_EQ(wheel, -2);
  EXPECT_EQ(buttons, BUTTON_RIGHT);
  EXPECT_EQ(clip, 0);
  EXPECT_EQ(host_query_mouse(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST_F(HostOperations, MoveWindowKeepsMarkedEdgesAndReportsTheOldCorner) {
  int32_t old = host_move_window(INT32_MIN, 100);
  EXPECT_EQ(world.moved_x, world.frame.left);
  EXPECT_EQ(world.moved_y, 100);
  EXPECT_EQ(old, world.frame.left | (world.frame.top << 16));
  world.frame.left = -5;  // a negative edge keeps to the low 16 bits
  EXPECT_EQ(host_move_window(1, INT32_MIN), 0xFFFB | (world.frame.top << 16));
  EXPECT_EQ(world.moved_y, world.frame.top);
  window_host.flags = SCREEN_FULLSCREEN;
  EXPECT_EQ(host_move_window(3, 4), 0);
  EXPECT_EQ(world.moves, 2);
}

TEST_F(HostOperations, PaletteEntryIsStoredAndOutOfRangeIndexIgnored) {
  host_set_palette_entry(5, 255, 128, 300);
  EXPECT_EQ(window_host.palette[5].red, 255);
  EXPECT_EQ(window_host.palette[5].green, 128);
  EXPECT_EQ(window_host.palette[5].blue, 300 & 0xFF);
  EXPECT_EQ(window_host.palette[5].flags, PALETTE_NO_COLLAPSE);
  EXPECT_EQ(window_host.palette_dirty, 1);
  window_host.palette_dirty = 0;
  host_set_palette_entry(256, 1, 2, 3);
  host_set_palette_entry(-1, 1, 2, 3);
  EXPECT_EQ(window_host.palette_dirty, 0);
}

TEST_F(HostOperations, SetTitleReachesTheWindow) {
  screen.gs.flags = GS_LOCKED;
  host_set_title("Neu");
  EXPECT_EQ(world.window_text, "Neu");
}

// Hooks that record the switch and can refuse full screen.
int32_t open_calls;
int32_t close_calls;
bool refuse_full_screen;
int32_t palette_sends;
int32_t fake_open_hook() {
  ++open_calls;
  return refuse_full_screen && (window_host.flags & SCREEN_FULLSCREEN) ? -1 : 0;
}
void fake_close_hook() { ++close_calls; }
void count_palette(int32_t, int32_t, int32_t, int32_t) { ++palette_sends; }
const DisplayDriver palette_counting_driver = {"Fake", nullptr, nullptr, nullptr, nullptr, count_palette,
                                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

class Switching : public HostOperations {
 protected:
  void SetUp() override {
    HostOperations::SetUp();
    open_calls = close_calls = palette_sends = 0;
    refuse_full_screen = false;
    window_host.driver_open_hook = fake_open_hook;
    window_host.driver_close_hook = fake_close_hook;
    screen.gs.driver = &palette_counting_driver;
    screen.gs.device_palette = palette;
  }
  uint32_t palette[256] = {};
};

TEST_F(Switching, SwitchReopensInTheOtherStateAndRedrawsEverything) {
  window_host.active = 0;
  window_host.mouse_clip = 1;
  world.clipped = true;
  EXPECT_EQ(switch_display(), 0);
  EXPECT_EQ(window_host.flags & SCREEN_FULLSCREEN, SCREEN_FULLSCREEN);
  EXPECT_EQ(close_calls, 1);
  EXPECT_EQ(open_calls, 1);
  EXPECT_EQ(palette_sends, 256);
  EXPECT_EQ(window_host.active, 1);
  EXPECT_FALSE(world.clipped);
  for (int32_t y = 0; y < 400; ++y) ASSERT_EQ(screen.dirty[y], 1);
}

TEST_F(Switching, NoSwitchFlagOnlyReportsTheLeave) {
  window_host.flags = SCREEN_NO_SWITCH;
  host_state.mouse_tracked = 1;
  EXPECT_EQ(switch_display(), 0);
  EXPECT_EQ(window_host.flags, SCREEN_NO_SWITCH);
  EXPECT_EQ(open_calls + close_calls + palette_sends, 0);
  EXPECT_EQ(screen.dirty[0], 0);
  auto events = drain_events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, EV_MOUSE_LEAVE);
}

TEST_F(Switching, FailedReopenReturnsToThePreviousState) {
  refuse_full_screen = true;
  EXPECT_EQ(switch_display(), 0);
  EXPECT_EQ(window_host.flags & SCREEN_FULLSCREEN, 0);
  EXPECT_EQ(close_calls, 2);
  EXPECT_EQ(open_calls, 2);
}

// A window thread that opens, signals and runs until the host stops it.
std::atomic<int32_t> thread_cycles;
void running_thread(platform::Event* start) {
  host_signal_started(start);
  while (host_running()) {
    host_lock();
    ++thread_cycles;
    host_unlock();
    platform::sleep_ms(1);
  }
}
void failing_thread(platform::Event*) {}

TEST_F(HostOperations, OpenStartsTheThreadAndCloseRestoresTheScreensaver) {
  window_host.window_thread_main = running_thread;
  ASSERT_EQ(host_open("Morv", 640, 400, 32, 0, SCREEN_FULLSCREEN), 0);
  EXPECT_EQ(world.screensaver_active, 0);
  EXPECT_EQ(world.class_name, "zvgfxclass_Morv");
  EXPECT_EQ(world.registered_classes, 1);
  EXPECT_EQ(window_host.running, 1);
  EXPECT_EQ(host_state.last_cursor_x, LAST_CURSOR_NONE);
  host_lock();  // the thread waits while the program holds the lock
  host_unlock();
  host_close();
  EXPECT_EQ(window_host.running, 0);
  EXPECT_EQ(world.screensaver_active, 1);
  EXPECT_EQ(world.registered_classes, 0);
  host_close();  // a second close does nothing
  EXPECT_EQ(world.registered_classes, 0);
}

TEST_F(HostOperations, CloseWhileTheProgramHoldsTheLockStillEndsTheThread) {
  window_host.window_thread_main = running_thread;
  ASSERT_EQ(host_open("Morv", 640, 400, 32, 0, 0), 0);
  host_lock();
  screen.gs.flags = GS_LOCKED;
  host_close();
  EXPECT_EQ(host_state.lock, nullptr);  // the thread ended in time and the lock was freed
  EXPECT_EQ(host_state.thread, nullptr);
  EXPECT_EQ(screen.gs.flags & GS_LOCKED, 0u);
}

TEST_F(HostOperations, ThreadThatEndsBeforeSignallingFailsTheOpen) {
  window_host.window_thread_main = failing_thread;
  EXPECT_EQ(host_open("Morv", 640, 400, 32, 0, 0), -1);
  host_close();
  EXPECT_EQ(world.screensaver_active, 1);
}

TEST_F(HostOperations, LongTitleIsCutToTheClassNameBuffer) {
  std::string title(300, 'x');
  EXPECT_EQ(host_open(title.c_str(), 640, 400, 32, 0, SCREEN_OPENGL), 0);  // no thread
  EXPECT_EQ(world.class_name.size(), size_t(CLASS_NAME_SIZE - 1));
  EXPECT_EQ(std::string(window_host.title).size(), size_t(HOST_TITLE_SIZE - 1));
  EXPECT_EQ(window_host.window_class.style, 8u);
  host_close();
}

}  // namespace
}  // namespace zv::test
