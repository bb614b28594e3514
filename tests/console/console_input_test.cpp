// The console's keys and mouse against a fake console input: the 512-entry ring, the
// pump with translation and Alt+keypad composition, the close signal, byte-wise reads,
// held keys through the console window, the console sleep and the console mouse.
#include <vector>

#include "console/fake_console.h"
#include "input/keys.h"
#include "runtime/random_timer.h"

using namespace zv;
using fake::console;
using fake::key_down;
using fake::key_up;

namespace {

class ConsoleInput : public fake::ConsoleTest {};

std::string key_text() {
  StringDescriptor* key = key_string();
  std::string text(key->data ? key->data : "", static_cast<size_t>(str_length(key)));
  str_release_temp(key);
  return text;
}

constexpr uint32_t ALT = MOD_LEFT_ALT;

}  // namespace

TEST_F(ConsoleInput, KeyEventsBecomeCodesAndStrings) {
  console.events = {key_down('A', 30, 'a', 0),          key_up('A', 30, 0),
                    key_down(0x26, 72, 0, MOD_ENHANCED), key_down(0x70, 59, 0, 0),
                    key_down('A', 30, 'a', ALT),         key_down(0x10, 42, 0, MOD_SHIFT)};
  EXPECT_EQ(key_pending(), 1);
  EXPECT_EQ(key_text(), "a");
  EXPECT_EQ(key_text(), "\xFFH");
  EXPECT_EQ(wait_key(), 0x3BFF);
  EXPECT_EQ(wait_key(), 0x1EFF);
  EXPECT_EQ(key_pending(), 0) << "key-ups and a lone Shift give no code";
  EXPECT_EQ(key_text(), "");
  EXPECT_EQ(console.handler_installs, 1) << "the control handler is registered once, at the first pump";
}

TEST_F(ConsoleInput, TheRingKeepsTheLast511Codes) {
  for (int32_t i = 0; i < CONSOLE_RING_SIZE; ++i) console_post_key(i + 1, key_down(0, 0, 0, 0));
  EXPECT_EQ(console_get_key(1, 1), 2) << "the 512th post dropped the oldest";
  int32_t count = 1;
  while (console_get_key(1, 1) != -1) ++count;
  EXPECT_EQ(count, CONSOLE_RING_SIZE - 1);
}

TEST_F(ConsoleInput, ByteWiseReadsGive255ThenTheSecondCharacter) {
  console_post_key(0x48FF, key_down(0x26, 72, 0, MOD_ENHANCED));
  console_post_key('q', key_down('Q', 16, 'q', 0));
  EXPECT_EQ(console_get_key(0, 0), 255) << "peeking changes nothing";
  EXPECT_EQ(console_get_key(1, 0), 0x48FF);
  EXPECT_EQ(console_get_key(0, 1), 255);
  EXPECT_EQ(console_get_key(0, 1), 'H');
  EXPECT_EQ(console_get_key(0, 1), 'q');
  EXPECT_EQ(console_get_key(0, 1), -1);
}

TEST_F(ConsoleInput, AltWithKeypadDigitsComposesACharacter) {
  constexpr uint16_t VK_MENU = 0x12;
  console.events = {key_down(VK_MENU, 56, 0, ALT),    key_down(96 + 1, 79, 0, ALT), key_up(96 + 1, 79, ALT),
                    key_down(96 + 3, 81, 0, ALT),     key_down(96 + 0, 82, 0, ALT), key_up(VK_MENU, 56, 0),
                    key_down(VK_MENU, 56, 0, ALT),    key_down(96 + 3, 81, 0, ALT), key_down(96 + 2, 80, 0, ALT),
                    key_down(96 + 1, 79, 0, ALT),     key_up(VK_MENU, 56, 0)};
  EXPECT_EQ(wait_key(), 130) << "Alt+1,3,0";
  EXPECT_EQ(wait_key(), 321 & 0xFF) << "the low byte of a larger number";
  EXPECT_EQ(key_pending(), 0);
  // A key that gives a code in between starts the number again.
  console.events = {key_down(96 + 6, 77, 0, ALT), key_down('B', 48, 'b', ALT), key_down(96 + 5, 76, 0, ALT),
                    key_up(0x12, 56, 0)};
  EXPECT_EQ(wait_key(), 0x30FF) << "Alt+B";
  EXPECT_EQ(wait_key(), 5);
  // With Ctrl also held the digits are ordinary keys.
  console.events = {key_down(96 + 6, 77, 0, ALT | MOD_LEFT_CTRL), key_up(0x12, 56, 0)};
  EXPECT_EQ(key_pending(), 0);
}

TEST_F(ConsoleInput, CloseLogOffAndShutdownPostTheCloseKey) {
  EXPECT_TRUE(console_control_signal(CONSOLE_CLOSE_SIGNAL));
  EXPECT_TRUE(console_control_signal(CONSOLE_SHUTDOWN_SIGNAL));
  EXPECT_FALSE(console_control_signal(0)) << "Ctrl+C is left to the system";
  EXPECT_FALSE(console_control_signal(1));
  EXPECT_TRUE(console_close_pending());
  EXPECT_EQ(key_text(), "\xFFk");
  EXPECT_FALSE(console_close_pending());
  const ConsoleKeyEntry& entry = console_key_ring.entries[0];
  EXPECT_EQ(entry.record.key.virtual_key, 0x73) << "recorded as Alt+F4";
  EXPECT_EQ(entry.record.key.control_state, MOD_LEFT_ALT);
  EXPECT_EQ(wait_key(), KEY_CLOSE);
  EXPECT_TRUE(console_control_signal(CONSOLE_LOGOFF_SIGNAL));
  EXPECT_EQ(key_pending(), 1);
}

TEST_F(ConsoleInput, HeldKeysNeedTheConsoleWindowInFront) {
  console.held = {0x10};  // Shift
  EXPECT_EQ(console_hooks().key_held(42), -1);
  EXPECT_EQ(console_hooks().key_held(54), -1) << "both Shift rows name the same key";
  EXPECT_EQ(console_hooks().key_held(30), 0);
  console.held = {0x68};  // keypad 8 shares the Up row
  EXPECT_EQ(console_hooks().key_held(72), -1);
  for (int32_t scan : {0, -1, 74, 128, 1000}) EXPECT_EQ(console_hooks().key_held(scan), 0) << scan;
  console.foreground = false;
  EXPECT_EQ(console_hooks().key_held(72), 0);
}

namespace {
std::vector<int32_t> slept;
void record_sleep(int32_t ms) {
  slept.push_back(ms);
  if (slept.size() == 3) console.events.push_back(key_down('K', 37, 'k', 0));
}
}  // namespace

TEST_F(ConsoleInput, SleepWakesOnAKeyWithinAStep) {
  set_sleep_function(record_sleep);
  slept.clear();
  sleep(1000);
  EXPECT_EQ(slept, (std::vector<int32_t>{50, 50, 50})) << "the key came during the third step";
  slept.clear();
  sleep(80);
  EXPECT_EQ(slept, (std::vector<int32_t>{80})) << "short pauses are never cut";
  slept.clear();
  sleep(-5);
  EXPECT_TRUE(slept.empty());
  slept.clear();
  sleep(-1);
  EXPECT_EQ(slept, (std::vector<int32_t>{50, 50, 50}));
  EXPECT_EQ(wait_key(), 'k');
}

TEST_F(ConsoleInput, MouseEventsGiveWindowPositionsButtonsAndWheel) {
  make(80, 100, 80, 25, 10);
  int32_t x = 0, y = 0, wheel = 0, buttons = 0, clip = 0;
  EXPECT_EQ(get_mouse(&x, &y, &wheel, &buttons, &clip), ERR_ILLEGAL_CALL) << "no mouse event yet";
  EXPECT_EQ(x, -1);
  EXPECT_TRUE(console.mouse_enabled);
  ConsoleInputRecord move{};
  move.event_type = CONSOLE_MOUSE_EVENT;
  move.mouse = {4, 12, 1, 0, CONSOLE_MOUSE_MOVED};
  ConsoleInputRecord turn = move;
  turn.mouse.event_flags = CONSOLE_MOUSE_WHEELED;
  turn.mouse.button_state = 0xFF880000u | 1;  // a step towards the user
  console.events = {move, turn, turn};
  EXPECT_EQ(get_mouse(&x, &y, &wheel, &buttons, &clip), 0);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 3);
  EXPECT_EQ(wheel, -2);
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(clip, 0);
  EXPECT_EQ(get_mouse(&x, &y, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(set_mouse(1, 1, 1, 0), ERR_ILLEGAL_CALL);
}

TEST_F(ConsoleInput, NoConsoleInputMeansNoKeys) {
  console.input_is_console = false;
  console.events = {key_down('A', 30, 'a', 0)};
  EXPECT_EQ(key_pending(), 0);
  console_control_signal(CONSOLE_CLOSE_SIGNAL);
  EXPECT_EQ(wait_key(), KEY_CLOSE) << "the close signal still arrives";
}

namespace {
const char* line_source = "";
int32_t next_source_byte() { return *line_source ? static_cast<uint8_t>(*line_source++) : -1; }
}  // namespace

TEST(ConsolePlainLines, LinesEndsAndLongLines) {
  char buffer[8];
  line_source = "short\r\nmuch too long line\nlast";
  EXPECT_EQ(read_line_of_bytes(next_source_byte, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "short");
  EXPECT_EQ(read_line_of_bytes(next_source_byte, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "much to") << "the rest of a long line is dropped, not read as the next line";
  EXPECT_EQ(read_line_of_bytes(next_source_byte, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "last");
  EXPECT_EQ(read_line_of_bytes(next_source_byte, buffer, sizeof buffer), -1);
  line_source = "\n";
  EXPECT_EQ(read_line_of_bytes(next_source_byte, buffer, sizeof buffer), 0) << "an empty line is a line";
  EXPECT_EQ(read_line_of_bytes(next_source_byte, nullptr, 4), -1);
}
