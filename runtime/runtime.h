// The runtime record, its replaceable console operations, error numbers,
// context slots, the event-queue mutex and the text-window bounds.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace zv {

// Error numbers
constexpr int32_t ERR_NONE = 0;
constexpr int32_t ERR_ILLEGAL_CALL = 1;  // invalid argument or operation not available
constexpr int32_t ERR_RECORD_LENGTH = 3;
constexpr int32_t ERR_NO_INPUT_LINE = 4;

// The clear mode and other optional integers use this when not given.
constexpr int32_t NOT_GIVEN = static_cast<int32_t>(0xFFFF0000u);

// The 27 console operations that a graphics screen takes over while it is open.
struct RuntimeHooks {
  StringDescriptor* (*key_string)();
  int32_t (*wait_key)();
  int32_t (*key_pending)();
  void (*clear_screen)(int32_t mode);
  int32_t (*set_color)(int32_t foreground, int32_t background, int32_t flags);
  int32_t (*locate)(int32_t row, int32_t column, int32_t visibility);
  int32_t (*set_width)(int32_t columns, int32_t rows);
  int32_t (*get_column)();
  int32_t (*get_row)();
  void (*get_cursor)(int32_t* column, int32_t* row);
  void (*get_size)(int32_t* columns, int32_t* rows);
  void (*print_text)(const uint8_t* bytes, int32_t length, int32_t flags);
  void (*print_wide_text)(const uint16_t* units, int32_t length, int32_t flags);
  char* (*read_line)(char* buffer, int32_t capacity);
  int32_t (*key_held)(int32_t scan_code);
  int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
  int32_t (*set_mouse)(int32_t x, int32_t y, int32_t visibility, int32_t clip);
  int32_t (*port_in)(int32_t port);
  int32_t (*port_out)(int32_t port, int32_t value);
  void (*view_update)();
  // prompt (may be null), destination (a StringDescriptor* when destination_size is -1,
  // else a byte buffer of that size), fill, question and newline flags.
  int32_t (*line_input)(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                        int32_t question, int32_t newline);
  // The same with a NUL-terminated 16-bit prompt.
  int32_t (*line_input_wide)(const uint16_t* prompt, void* destination, int32_t destination_size, int32_t fill,
                             int32_t question, int32_t newline);
  int32_t (*read_cell)(int32_t column, int32_t row, int32_t what);
  void (*sleep)(int32_t milliseconds);
  int32_t (*query_flag)();
  int32_t (*page_copy)(int32_t source, int32_t destination);
  int32_t (*page_set)(int32_t work, int32_t visible);
};
static_assert(sizeof(RuntimeHooks) == 27 * sizeof(void*));

// An output channel. Only the console channel is used by this system; the
// others exist so that the channel numbers keep their meaning.
struct OutputChannel {
  int32_t output_column;  // 0-based column after the last write
  int32_t line_width;     // 0 = no width
  void (*write)(OutputChannel* channel, const uint8_t* bytes, int32_t length);
  void (*close)(OutputChannel* channel);
};

constexpr int32_t CONTEXT_SLOT_ERROR = 0;
constexpr int32_t CONTEXT_SLOT_DRAW = 4;
constexpr int32_t CONTEXT_SLOT_COUNT = 5;

struct RuntimeContext {
  int32_t arg_count;
  char** arg_vector;
  StringDescriptor empty_string;
  const char* exit_message;
  RuntimeHooks hooks;
  void* context_slots[CONTEXT_SLOT_COUNT];
  OutputChannel console_channel;
  OutputChannel channels[255];  // channel -1, then channels 1 to 254
  int32_t channels_open;
  int32_t language_option;
};

// Seven words; the second is the last error number.
struct ErrorContext {
  int32_t state0;
  int32_t last_error;
  int32_t state[5];
};

extern RuntimeContext runtime;

void runtime_init();
void runtime_exit();
int32_t runtime_nesting();
void set_args(int32_t count, char** vector, int32_t language_option);
[[noreturn]] void end_program(int32_t code);
void* context_get(int32_t slot, int32_t size);
int32_t set_error(int32_t number);
int32_t get_error();

// The mutex that guards a graphics screen's event queue.
struct Mutex;
Mutex* mutex_create();
void mutex_destroy(Mutex* m);
void mutex_lock(Mutex* m);
void mutex_unlock(Mutex* m);

// Text-window bounds (0-based rows; -1 = not set).
int32_t view_print(int32_t top, int32_t bottom, int32_t move_cursor);
int32_t view_print_reset(int32_t top, int32_t bottom);
int32_t view_top();
int32_t view_bottom();
void view_bounds(int32_t* top, int32_t* bottom);
void view_store(int32_t top, int32_t bottom);

// Public wrappers: the hook when filled, the console default otherwise.
StringDescriptor* key_string();
int32_t wait_key();
int32_t key_pending();
void clear_screen(int32_t mode);
int32_t set_color(int32_t foreground, int32_t background, int32_t flags);
int32_t locate(int32_t row, int32_t column, int32_t visibility, int32_t* out_result = nullptr);
int32_t set_width(int32_t columns, int32_t rows);
int32_t get_column();
void get_cursor(int32_t* column, int32_t* row);
void get_size(int32_t* columns, int32_t* rows);
void print_text(const uint8_t* bytes, int32_t length, int32_t flags);
void print_wide_text(const uint16_t* units, int32_t length, int32_t flags);
int32_t get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
int32_t set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t clip);
void sleep(int32_t milliseconds);
void view_update();
int32_t page_set(int32_t work, int32_t visible);
// Prompt (released; may be null), question mark, the edited line into the destination
// (a StringDescriptor* for size -1, else a buffer of that size), optional line end.
int32_t line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                   int32_t question, int32_t newline);

// The console defaults behind the hooks (runtime/console).
const RuntimeHooks& console_hooks();
// First use of the console layer: takes the line width from the reported column count.
void console_ensure_init();
// A graphics screen was opened: the console starts again at its top row.
void console_set_current_row(int32_t row);

uint32_t cpu_features();
constexpr uint32_t CPU_MMX = 0x800000;
// Builds a string of count characters from the low bytes of the codes.
StringDescriptor* char_string(int32_t count, ...);

}  // namespace zv
