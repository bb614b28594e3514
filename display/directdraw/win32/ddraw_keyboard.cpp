// The DirectX driver's keyboard: a DirectInput keyboard device read as 256 key bytes.
#include "display/directdraw/ddraw_rules.h"
#include "display/directdraw/win32/ddraw_state.h"

namespace zv {

namespace {

constexpr DWORD KEY_OBJECT_TYPE = 0x8000000C;  // a button of any instance, optional
constexpr DWORD ABSOLUTE_AXES = 2;
constexpr int32_t KEY_COUNT = 256;

DIOBJECTDATAFORMAT key_objects[KEY_COUNT];
DIDATAFORMAT keyboard_format;

// One object per key byte: byte i of the state is the key with instance i.
void build_keyboard_format() {
  for (DWORD i = 0; i < KEY_COUNT; ++i) key_objects[i] = DIOBJECTDATAFORMAT{&GUID_Key, i, (i << 8) | KEY_OBJECT_TYPE, 0};
  keyboard_format = DIDATAFORMAT{sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), ABSOLUTE_AXES, KEY_COUNT, KEY_COUNT,
                                 key_objects};
}

}  // namespace

int32_t ddraw_open_keyboard() {
  if (!ddraw.direct_input) return -1;
  build_keyboard_format();
  if (ddraw.direct_input->CreateDevice(GUID_SysKeyboard, &ddraw.keyboard, nullptr) != DI_OK) return -1;
  if (ddraw.keyboard->SetDataFormat(&keyboard_format) != DI_OK) return -1;
  if (ddraw.keyboard->Acquire() != DI_OK) return -1;
  return 0;
}

void ddraw_read_keyboard(uint8_t key_state[128]) {
  if (!ddraw.keyboard || !key_state) return;
  uint8_t state[KEY_COUNT] = {};
  const uint32_t result = static_cast<uint32_t>(ddraw.keyboard->GetDeviceState(sizeof state, state));
  if (result == DDRAW_INPUT_LOST || result == DDRAW_NOT_ACQUIRED) {
    ddraw.keyboard->Acquire();  // the held keys stay as they were until the next read
  } else if (result == DI_OK) {
    ddraw_fold_key_state(state, key_state);
  }
}

void ddraw_close_keyboard() {
  if (ddraw.keyboard) ddraw.keyboard->Unacquire();
  release(ddraw.keyboard);
  release(ddraw.direct_input);
}

}  // namespace zv
