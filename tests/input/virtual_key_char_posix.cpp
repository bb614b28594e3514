#include <gtest/gtest.h>

#include "platform/platform.h"

using zv::platform::virtual_key_char;

TEST(VirtualKeyChar, GivesTheUnshiftedUsCharacters) {
  for (uint32_t c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(virtual_key_char(c), c);
  for (uint32_t c = '0'; c <= '9'; ++c) {
    EXPECT_EQ(virtual_key_char(c), c);
    EXPECT_EQ(virtual_key_char(0x60 + c - '0'), c) << "keypad digit";
  }
  const struct {
    uint32_t vk;
    uint32_t character;
  } keys[] = {
      {0x08, 8},   {0x09, 9},   {0x0D, 13},  {0x1B, 27},  {0x20, ' '},  {0x6A, '*'}, {0x6B, '+'},
      {0x6D, '-'}, {0x6E, '.'}, {0x6F, '/'}, {0xBA, ';'}, {0xBB, '='},  {0xBC, ','}, {0xBD, '-'},
      {0xBE, '.'}, {0xBF, '/'}, {0xC0, '`'}, {0xDB, '['}, {0xDC, '\\'}, {0xDD, ']'}, {0xDE, '\''},
  };
  for (const auto& key : keys) EXPECT_EQ(virtual_key_char(key.vk), key.character) << std::hex << key.vk;
}

TEST(VirtualKeyChar, KeysWithoutCharacterGiveZero) {
  for (uint32_t vk : {0x00u, 0x10u, 0x11u, 0x12u, 0x14u, 0x24u, 0x26u, 0x2Eu, 0x5Bu, 0x70u, 0x7Bu, 0x90u, 0xFFu, 0x100u,
                      0x141u, 0xFFFFFFFFu}) {
    EXPECT_EQ(virtual_key_char(vk), 0u) << std::hex << vk;
  }
}
