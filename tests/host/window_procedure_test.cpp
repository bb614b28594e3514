// The window procedure driven by synthetic messages.
#include <gtest/gtest.h>

#include "display/host/mouse_leave.h"
#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "fake_window_system.h"
#include "input/keys.h"

namespace zv::test {
namespace {

int64_t key_bits(uint32_t scan, uint32_t repeat = 1, bool extended = false, bool was_down = false, bool alt = false) {
  return static_cast<int64_t>(repeat | (scan << 16) | (extended ? 1u << 24 : 0) | (alt ? 1u << 29 : 0) |
                              (was_down ? 1u << 30 : 0));
}

HostResult send(int32_t kind, uint64_t wparam = 0, int64_t lparam = 0) {
  return handle_window_message(fake_window(), HostMessage{kind, wparam, lparam});
}

int64_t point(int32_t x, int32_t y) { return static_cast<int64_t>((uint32_t(y) << 16) | (uint32_t(x) & 0xFFFF)); }

class WindowProcedure : public testing::Test {
 protected:
  void SetUp() override { reset_host(); }
  FakeScreen screen;
};

TEST_F(WindowProcedure, CloseButtonPostsCloseKeyAndEventAndKeepsTheWindow) {
  HostResult r = send(HM_CLOSE);
  EXPECT_FALSE(r.call_default);  // default processing would destroy the window
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(drain_keys(), std::vector<int32_t>{KEY_CLOSE});
  auto events = drain_events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, EV_CLOSE);
  EXPECT_EQ(window_host.window, fake_window());
}

TEST_F(WindowProcedure, F10AltAndAltF4ProduceNothingAndSkipDefaultProcessing) {
  EXPECT_FALSE(send(HM_SYSTEM_KEY_DOWN, VK_F10_KEY, key_bits(68)).call_default);
  EXPECT_FALSE(send(HM_KEY_UP, VK_F10_KEY, key_bits(68)).call_default);
  world.keyboard[0x12] = world.keyboard[0xA4] = 0x80;
  EXPECT_FALSE(send(HM_SYSTEM_KEY_DOWN, VK_ALT_KEY, key_bits(56, 1, false, false, true)).call_default);
  EXPECT_FALSE(send(HM_SYSTEM_KEY_DOWN, 0x73, key_bits(62, 1, false, false, true)).call_default);  // Alt+F4
  EXPECT_TRUE(drain_keys().empty());
  EXPECT_TRUE(drain_events().empty());
}

TEST_F(WindowProcedure, HeldKeyGivesDownThenRepeatsAndPostsExtendedCodesPerRepeat) {
  EXPECT_TRUE(send(HM_KEY_DOWN, 0x26, key_bits(72, 1, true)).call_default);      // Up
  EXPECT_TRUE(send(HM_KEY_DOWN, 0x26, key_bits(72, 3, true, true)).call_default);  // auto-repeat, 3 at once
  send(HM_KEY_UP, 0x26, key_bits(72, 1, true, true));
  EXPECT_EQ(drain_keys(), (std::vector<int32_t>{0x48FF, 0x48FF, 0x48FF, 0x48FF}));
  auto events = drain_events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, EV_KEY_DOWN);
  EXPECT_EQ(events[1].kind, EV_KEY_REPEAT);
  EXPECT_EQ(events[2].kind, EV_KEY_UP);
  for (const InputEvent& e : events) {
    EXPECT_EQ(e.data[0], 72);
    EXPECT_EQ(e.data[1], 0);  // extended codes carry no character
  }
}

TEST_F(WindowProcedure, PlainCharacterKeyLeavesTheRingToTheCharacterMessage) {
  world.typed['A'] = 'a';
  send(HM_KEY_DOWN, 'A', key_bits(30));
  EXPECT_TRUE(drain_keys().empty());
  auto events = drain_events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].data[0], 30);
  EXPECT_EQ(events[0].data[1], 'a');
  world.dead_key['A'] = true;  // a dead key types nothing itself
  send(HM_KEY_DOWN, 'A', key_bits(30));
  EXPECT_EQ(drain_events().at(0).data[1], 0);
}

TEST_F(WindowProcedure, AltCombinationCountsAsAPress) {
  world.keyboard[0x12] = world.keyboard[0xA4] = 0x80;
  world.typed['X'] = 'x';
  EXPECT_TRUE(send(HM_SYSTEM_KEY_DOWN, 'X', key_bits(45, 1, false, false, true)).call_default);
  EXPECT_EQ(drain_keys(), std::vector<int32_t>{0x2DFF});
  EXPECT_EQ(drain_events().at(0).kind, EV_KEY_DOWN);
}

TEST_F(WindowProcedure, AnsiCharacterArrivesAsCodePage437) {
  send(HM_CHARACTER, 0xE4, 2);  // a-umlaut in code page 1252, typed twice
  send(HM_CHARACTER, 'k', 1);
  send(HM_CHARACTER, 0x20AC, 1);  // beyond one byte: default processing only
  EXPECT_EQ(drain_keys(), (std::vector<int32_t>{0x84, 0x84, 'k'}));
}

TEST_F(WindowProcedure, DeactivationClearsHeldStateAndMarksEveryRow) {
  std::fill(std::begin(screen.key_state), std::end(screen.key_state), 1);
  host_state.buttons = BUTTON_LEFT | BUTTON_MIDDLE;
  host_state.mouse_tracked = 1;
  world.timers = {MOUSE_LEAVE_TIMER_ID};
  EXPECT_FALSE(send(HM_ACTIVATE, 0).call_default);
  EXPECT_EQ(window_host.active, 0);
  EXPECT_EQ(host_state.buttons, 0);
  EXPECT_EQ(host_state.mouse_tracked, 0);
  EXPECT_TRUE(world.timers.empty());
  for (uint8_t held : screen.key_state) ASSERT_EQ(held, 0);
  for (int32_t y = 0; y < 400; ++y) ASSERT_EQ(screen.dirty[y], 1) << y;
  auto events = drain_events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EV_MOUSE_LEAVE);
  EXPECT_EQ(events[1].kind, EV_FOCUS_LOST);
}

TEST_F(WindowProcedure, ActivationWithCursorInsideGainsFocusAndEntersAndRestoresTheClip) {
  window_host.active = 0;
  window_host.mouse_clip = 1;
  send(HM_ACTIVATE, 1);
  EXPECT_EQ(window_host.active, 1);
  auto events = drain_events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EV_FOCUS_GAINED);
  EXPECT_EQ(events[1].kind, EV_MOUSE_ENTER);
  EXPECT_TRUE(world.clipped);
  send(HM_ACTIVATE, 1 | (1u << 16));  // minimised: inactive, and no focus event
  EXPECT_EQ(window_host.active, 0);
  EXPECT_TRUE(drain_events().front().kind == EV_MOUSE_LEAVE);
  EXPECT_FALSE(world.clipped);
}

TEST_F(WindowProcedure, FirstMoveEntersThenMovesCarryScreenDeltas) {
  send(HM_MOUSE_MOVE, 0, point(50, 50));
  world.cursor_x += 3;
  world.cursor_y -= 4;
  send(HM_MOUSE_MOVE, 0, point(53, 46));
  send(HM_MOUSE_MOVE, 0, point(53, 46));  // no movement on screen: no event
  auto events = drain_events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EV_MOUSE_ENTER);
  EXPECT_EQ(events[1].kind, EV_MOUSE_MOVE);
  EXPECT_EQ(events[1].data[0], 53);
  EXPECT_EQ(events[1].data[1], 46);
  EXPECT_EQ(events[1].data[2], 3);
  EXPECT_EQ(events[1].data[3], -4);
  EXPECT_EQ(world.track_requests, 1);
}

TEST_F(WindowProcedure, MoveWhileInactiveOnlyUpdatesThePosition) {
  window_host.active = 0;
  send(HM_MOUSE_MOVE, 0, point(7, 9));
  world.cursor_x += 5;
  send(HM_MOUSE_MOVE, 0, point(12, 9));
  EXPECT_TRUE(drain_events().empty());
  EXPECT_EQ(host_state.mouse_x, 12);
  EXPECT_EQ(host_state.mouse_y, 9);
}

TEST_F(WindowProcedure, WheelNeedsVersion4_10) {
  reset_host(0x0409);
  send(HM_WHEEL, 120u << 16);
  EXPECT_TRUE(drain_events().empty());
  EXPECT_EQ(host_state.wheel, 0);
  reset_host(0x040A);
  send(HM_WHEEL, 240u << 16);  // one step whatever the distance
  send(HM_WHEEL, static_cast<uint32_t>(-120) << 16);
  send(HM_WHEEL, static_cast<uint32_t>(-120) << 16);
  auto events = drain_events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, EV_WHEEL);
  EXPECT_EQ(events[0].data[0], 1);
  EXPECT_EQ(events[2].data[0], -1);
}

TEST_F(WindowProcedure, ExtraButtonsAndHorizontalWheelNeedVersion5) {
  reset_host(0x04FF);
  send(HM_BUTTON_DOWN, BUTTON_EXTRA1);
  send(HM_HWHEEL, 120u << 16);
  EXPECT_TRUE(drain_events().empty());
  EXPECT_EQ(host_state.buttons, 0);
  reset_host(0x0500);
  send(HM_BUTTON_DOWN, BUTTON_EXTRA2);
  EXPECT_TRUE(world.captured);
  EXPECT_EQ(host_state.buttons, BUTTON_EXTRA2);
  send(HM_BUTTON_UP, BUTTON_EXTRA2);
  EXPECT_FALSE(world.captured);
  send(HM_HWHEEL, 120u << 16);
  auto events = drain_events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, EV_BUTTON_DOWN);
  EXPECT_EQ(events[0].data[0], BUTTON_EXTRA2);
  EXPECT_EQ(events[1].kind, EV_BUTTON_UP);
  EXPECT_EQ(events[2].kind, EV_HWHEEL);
}

TEST_F(WindowProcedure, CaptureIsHeldUntilTheLastButtonIsUp) {
  send(HM_BUTTON_DOWN, BUTTON_LEFT);
  send(HM_BUTTON_DOUBLE, BUTTON_RIGHT);
  send(HM_BUTTON_UP, BUTTON_LEFT);
  EXPECT_TRUE(world.captured);
  send(HM_BUTTON_UP, BUTTON_RIGHT);
  EXPECT_FALSE(world.captured);
  EXPECT_EQ(drain_events().at(1).kind, EV_DOUBLE_CLICK);
  send(HM_BUTTON_DOWN, 3);  // not a single button bit
  EXPECT_TRUE(drain_events().empty());
}

TEST_F(WindowProcedure, FullRingDropsTheOldestEvent) {
  for (int32_t i = 0; i < EVENT_RING_SIZE; ++i) post_event(InputEvent{EV_WHEEL, {i, 0, 0, 0}});
  auto events = drain_events();
  ASSERT_EQ(events.size(), size_t(EVENT_RING_SIZE - 1));
  EXPECT_EQ(events.front().data[0], 1);
  EXPECT_EQ(events.back().data[0], EVENT_RING_SIZE - 1);
}

TEST_F(WindowProcedure, LeaveEmulationWatchesTheCursorAndPostsTheLeaveMessage) {
  set_window_system(&fake_window_system_without_tracking);
  host_state.track_mouse = emulate_track_mouse;
  world.window_under_cursor = fake_window();
  send(HM_MOUSE_MOVE, 0, point(50, 50));
  ASSERT_EQ(world.timers, std::vector<uint32_t>{MOUSE_LEAVE_TIMER_ID});
  send(HM_TIMER, MOUSE_LEAVE_TIMER_ID);
  EXPECT_EQ(world.leave_posts, 0);
  world.cursor_x = 5;  // off the client area
  send(HM_TIMER, MOUSE_LEAVE_TIMER_ID);
  EXPECT_TRUE(world.timers.empty());
  EXPECT_EQ(world.leave_posts, 1);
  EXPECT_FALSE(send(HM_MOUSE_LEAVE).call_default);
  EXPECT_EQ(host_state.mouse_tracked, 0);
  auto events = drain_events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].kind, EV_MOUSE_LEAVE);
}

TEST_F(WindowProcedure, SetCursorHidesOnlyInsideTheClientArea) {
  host_state.cursor_visible = 0;
  HostResult r = send(HM_SET_CURSOR);
  EXPECT_FALSE(r.call_default);
  EXPECT_EQ(r.value, 1);
  EXPECT_FALSE(world.cursor_shape_visible);
  world.cursor_x = 0;
  send(HM_SET_CURSOR);
  EXPECT_TRUE(world.cursor_shape_visible);
}

}  // namespace
}  // namespace zv::test
