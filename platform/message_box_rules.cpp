#include "platform/message_box_rules.h"

#include <cctype>
#include <cstring>

#include "platform/platform.h"

namespace zv::platform {

namespace {

constexpr uint32_t MB_TYPE_MASK = 0xF;

// The bytes 0x80..0x9F of code page 1252; 0 marks the five unassigned ones.
constexpr char16_t CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool is_blank(const char* text) {
  for (; text && *text; ++text)
    if (!std::isspace(static_cast<unsigned char>(*text))) return false;
  return true;
}

}  // namespace

DialogButtons dialog_buttons(uint32_t style) {
  if ((style & MB_TYPE_MASK) == MB_YESNO) return {2, {"Ja", "Nein"}, {IDYES, IDNO}, IDNO};
  return {1, {"OK", nullptr}, {IDOK, 0}, IDOK};
}

int32_t dialog_key(const DialogButtons& buttons, DialogKey key, char character, int32_t* focused) {
  int32_t focus = focused && *focused >= 0 && *focused < buttons.count ? *focused : 0;
  int32_t answer = 0;
  switch (key) {
    case DialogKey::Enter:
    case DialogKey::Space: answer = buttons.results[focus]; break;
    case DialogKey::Escape: answer = buttons.escape_result; break;
    case DialogKey::Tab:
    case DialogKey::Right: focus = (focus + 1) % buttons.count; break;
    case DialogKey::Left: focus = (focus + buttons.count - 1) % buttons.count; break;
    case DialogKey::Character:
      if (buttons.count == 2) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
        if (c == 'j' || c == 'y') answer = IDYES;
        if (c == 'n') answer = IDNO;
      }
      break;
  }
  if (focused) *focused = focus;
  return answer;
}

char32_t cp1252_to_unicode(uint8_t byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  char16_t code = CP1252_HIGH[byte - 0x80];
  return code ? code : U'\uFFFD';
}

std::string cp1252_to_utf8(const char* text) {
  std::string out;
  for (; text && *text; ++text) append_utf8(out, cp1252_to_unicode(static_cast<uint8_t>(*text)));
  return out;
}

int32_t terminal_message_box(const char* text, const char* caption, uint32_t style, std::FILE* in,
                             std::FILE* out) {
  const bool yes_no = dialog_buttons(style).count == 2;
  if (!is_blank(caption)) std::fprintf(out, "%s\n", cp1252_to_utf8(caption).c_str());
  std::fprintf(out, "%s %s ", cp1252_to_utf8(text).c_str(), yes_no ? "[J/n]" : "[OK]");
  std::fflush(out);
  char line[64];
  while (std::fgets(line, sizeof line, in)) {
    if (!std::strchr(line, '\n')) {  // an overlong answer: drop the rest of the line
      int c;
      while ((c = std::fgetc(in)) != EOF && c != '\n') {
      }
    }
    if (!yes_no) return IDOK;
    char first = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (first == '\n' || first == '\r' || first == 0 || first == 'j' || first == 'y') return IDYES;
    if (first == 'n') return IDNO;
    std::fprintf(out, "[J/n] ");
    std::fflush(out);
  }
  std::fputc('\n', out);
  return yes_no ? IDNO : IDOK;
}

}  // namespace zv::platform
