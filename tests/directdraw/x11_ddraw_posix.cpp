// The X side of the DirectX driver that needs no server: the keymap as a keyboard
// device's key bytes, and the protocol requests a signal handler sends to bring the
// desktop's mode back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/directdraw/ddraw_rules.h"
#include "display/directdraw/x11/x11_key_device.h"
#include "display/directdraw/x11/x11_mode_guard.h"

namespace zv {
namespace {

void press(uint8_t keymap[32], int keycode) { keymap[keycode >> 3] |= static_cast<uint8_t>(1u << (keycode & 7)); }

TEST(X11DdrawKeyboard, KeymapBitsBecomeDeviceBytesWithExtendedKeysAbove128) {
  uint8_t keymap[32] = {};
  press(keymap, 9);    // Esc
  press(keymap, 104);  // keypad Enter: Enter's scan code with the E0 prefix
  press(keymap, 105);  // right Ctrl
  press(keymap, 255);  // a keycode we do not map
  uint8_t device[256];
  std::memset(device, 0x55, sizeof device);
  x11_key_device_state(keymap, device);
  EXPECT_EQ(device[0x01], 0x80);
  EXPECT_EQ(device[0x9C], 0x80);
  EXPECT_EQ(device[0x9D], 0x80);
  EXPECT_EQ(device[0x1C], 0);
  int32_t down = 0;
  for (uint8_t b : device) down += b != 0;
  EXPECT_EQ(down, 3);
  uint8_t keys[128] = {};
  ddraw_fold_key_state(device, keys);
  EXPECT_EQ(keys[0x1C], 1);  // keypad Enter counts as Enter
  EXPECT_EQ(keys[0x1D], 1);  // right Ctrl as Ctrl
  EXPECT_EQ(keys[0x01], 1);
}

template <class T>
T at(const std::vector<uint8_t>& bytes, size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

X11ModeSwitch switched_from_1024x768(bool resize_screen) {
  X11ModeSwitch m{};
  m.original = X11CrtcSetup{0x3F, 0x2A0, 0, 0, RR_Rotate_0, {0x41, 0x42}, 2};
  m.original_screen = X11ScreenSize{1024, 768, 270, 203};
  m.resize_screen = resize_screen;
  m.area = ScreenRect{0, 0, 640, 480};
  m.mode = 0x2A5;
  m.config_time = 0x12345678;
  return m;
}

TEST(X11DdrawModeGuard, RestoringRequestsGrowTheScreenThenSetTheCrtcThenTheSize) {
  std::vector<uint8_t> bytes(256);
  const int32_t n = x11_restore_requests(140, 0x1E6, switched_from_1024x768(true), bytes.data(), 256);
  ASSERT_EQ(n, 20 + 36 + 20);
  // RRSetScreenSize (minor 7): five words
  EXPECT_EQ(bytes[0], 140);
  EXPECT_EQ(bytes[1], 7);
  EXPECT_EQ(at<uint16_t>(bytes, 2), 5);
  EXPECT_EQ(at<uint32_t>(bytes, 4), 0x1E6u);
  EXPECT_EQ(at<uint16_t>(bytes, 8), 1024);
  EXPECT_EQ(at<uint16_t>(bytes, 10), 768);
  EXPECT_EQ(at<uint32_t>(bytes, 12), 270u);
  EXPECT_EQ(at<uint32_t>(bytes, 16), 203u);
  // RRSetCrtcConfig (minor 21): seven words and one per output
  EXPECT_EQ(bytes[20], 140);
  EXPECT_EQ(bytes[21], 21);
  EXPECT_EQ(at<uint16_t>(bytes, 22), 9);
  EXPECT_EQ(at<uint32_t>(bytes, 24), 0x3Fu);         // crtc
  EXPECT_EQ(at<uint32_t>(bytes, 28), 0u);            // now
  EXPECT_EQ(at<uint32_t>(bytes, 32), 0x12345678u);   // configuration time
  EXPECT_EQ(at<int16_t>(bytes, 36), 0);
  EXPECT_EQ(at<int16_t>(bytes, 38), 0);
  EXPECT_EQ(at<uint32_t>(bytes, 40), 0x2A0u);        // the old mode
  EXPECT_EQ(at<uint16_t>(bytes, 44), RR_Rotate_0);
  EXPECT_EQ(at<uint32_t>(bytes, 48), 0x41u);
  EXPECT_EQ(at<uint32_t>(bytes, 52), 0x42u);
  EXPECT_EQ(bytes[56], 140);
  EXPECT_EQ(bytes[57], 7);
}

TEST(X11DdrawModeGuard, ASharedScreenKeepsItsSizeAndShortBuffersGetNothing) {
  std::vector<uint8_t> bytes(256);
  EXPECT_EQ(x11_restore_requests(140, 0x1E6, switched_from_1024x768(false), bytes.data(), 256), 36);
  EXPECT_EQ(bytes[1], 21);
  EXPECT_EQ(x11_restore_requests(140, 0x1E6, switched_from_1024x768(true), bytes.data(), 60), 0);
  EXPECT_FALSE(x11_guard_armed());
}

}  // namespace
}  // namespace zv
