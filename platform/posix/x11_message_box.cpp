// The message box as a small Xlib dialog: the text, the caption as the window title
// and one or two buttons, usable with the mouse and the keyboard.
#include "platform/posix/x11_message_box.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/message_box_rules.h"
#include "platform/posix/x11_open.h"

namespace zv::platform {

namespace {

constexpr int MARGIN = 16;
constexpr int BUTTON_GAP = 12;
constexpr int BUTTON_MIN_WIDTH = 80;

// The ISO 10646 cuts of the fixed font draw every character of code page 1252; the
// plain "fixed" is Latin-1 and loses only the few letters of 0x80..0x9F.
constexpr const char* FONT_NAMES[] = {
    "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso10646-1",
    "-*-fixed-medium-r-*-*-13-*-*-*-*-*-iso10646-1",
    "-*-*-medium-r-normal-*-*-*-*-*-*-*-iso10646-1",
    "fixed",
};

struct Dialog {
  Display* display = nullptr;
  Window window = 0;
  GC gc = nullptr;
  XFontStruct* font = nullptr;
  bool wide_font = false;
  unsigned long black = 0, white = 0, face = 0;
  std::vector<std::vector<XChar2b>> lines;
  DialogButtons buttons{};
  XRectangle button_rects[2]{};
  int32_t focused = 0;
  int32_t pressed = -1;
  int width = 0, height = 0, line_height = 0;
  std::atomic<int32_t> lost{0};  // the server went away: the box ends unanswered
};

int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

std::vector<XChar2b> to_glyphs(const std::u32string& text, bool wide) {
  std::vector<XChar2b> glyphs;
  for (char32_t code : text) {
    if (code > (wide ? 0xFFFFu : 0xFFu)) code = U'?';
    glyphs.push_back(XChar2b{static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code & 0xFF)});
  }
  return glyphs;
}

std::vector<std::u32string> split_lines(const char* text) {
  std::vector<std::u32string> lines(1);
  for (; *text; ++text) {
    if (*text == '\n') {
      lines.emplace_back();
    } else if (*text != '\r') {
      lines.back() += cp1252_to_unicode(static_cast<uint8_t>(*text));
    }
  }
  return lines;
}

// A font without the 16-bit index is drawn through its 8-bit entry points.
int text_width(const Dialog& d, const std::vector<XChar2b>& glyphs) {
  if (d.wide_font) return XTextWidth16(d.font, glyphs.data(), static_cast<int>(glyphs.size()));
  std::string bytes;
  for (const XChar2b& g : glyphs) bytes += static_cast<char>(g.byte2);
  return XTextWidth(d.font, bytes.data(), static_cast<int>(bytes.size()));
}

void draw_glyphs(const Dialog& d, int x, int y, const std::vector<XChar2b>& glyphs) {
  if (d.wide_font) {
    XDrawString16(d.display, d.window, d.gc, x, y, glyphs.data(), static_cast<int>(glyphs.size()));
    return;
  }
  std::string bytes;
  for (const XChar2b& g : glyphs) bytes += static_cast<char>(g.byte2);
  XDrawString(d.display, d.window, d.gc, x, y, bytes.data(), static_cast<int>(bytes.size()));
}

bool load_font(Dialog& d) {
  for (const char* name : FONT_NAMES) {
    d.font = XLoadQueryFont(d.display, name);
    if (d.font) {
      d.wide_font = d.font->min_byte1 != 0 || d.font->max_byte1 != 0;
      return true;
    }
  }
  return false;
}

unsigned long named_colour(Display* display, const char* name, unsigned long fallback) {
  XColor exact{}, screen{};
  Colormap map = DefaultColormap(display, DefaultScreen(display));
  return XAllocNamedColor(display, map, name, &screen, &exact) ? screen.pixel : fallback;
}

void lay_out(Dialog& d) {
  d.line_height = d.font->ascent + d.font->descent + 2;
  int text_w = 0;
  for (const auto& line : d.lines) text_w = std::max(text_w, text_width(d, line));
  int button_w = BUTTON_MIN_WIDTH;
  for (int32_t i = 0; i < d.buttons.count; ++i) {
    std::string label = d.buttons.labels[i];
    std::u32string wide(label.begin(), label.end());
    button_w = std::max(button_w, text_width(d, to_glyphs(wide, d.wide_font)) + 24);
  }
  const int button_h = d.line_height + 10;
  const int buttons_w = d.buttons.count * button_w + (d.buttons.count - 1) * BUTTON_GAP;
  d.width = std::max({text_w, buttons_w, 160}) + 2 * MARGIN;
  d.height = MARGIN + static_cast<int>(d.lines.size()) * d.line_height + MARGIN + button_h + MARGIN;
  int x = (d.width - buttons_w) / 2;
  for (int32_t i = 0; i < d.buttons.count; ++i, x += button_w + BUTTON_GAP) {
    d.button_rects[i] = XRectangle{static_cast<short>(x), static_cast<short>(d.height - MARGIN - button_h),
                                   static_cast<unsigned short>(button_w), static_cast<unsigned short>(button_h)};
  }
}

void draw(const Dialog& d) {
  XClearWindow(d.display, d.window);
  XSetForeground(d.display, d.gc, d.black);
  int y = MARGIN + d.font->ascent;
  for (const auto& line : d.lines) {
    draw_glyphs(d, MARGIN, y, line);
    y += d.line_height;
  }
  for (int32_t i = 0; i < d.buttons.count; ++i) {
    const XRectangle& r = d.button_rects[i];
    XSetForeground(d.display, d.gc, i == d.pressed ? d.face : d.white);
    XFillRectangle(d.display, d.window, d.gc, r.x, r.y, r.width, r.height);
    XSetForeground(d.display, d.gc, d.black);
    XDrawRectangle(d.display, d.window, d.gc, r.x, r.y, r.width - 1, r.height - 1);
    if (i == d.focused) XDrawRectangle(d.display, d.window, d.gc, r.x + 2, r.y + 2, r.width - 5, r.height - 5);
    std::string label = d.buttons.labels[i];
    auto glyphs = to_glyphs(std::u32string(label.begin(), label.end()), d.wide_font);
    int label_x = r.x + (r.width - text_width(d, glyphs)) / 2;
    int label_y = r.y + (r.height - d.font->ascent - d.font->descent) / 2 + d.font->ascent;
    draw_glyphs(d, label_x, label_y, glyphs);
  }
  XFlush(d.display);
}

int32_t button_at(const Dialog& d, int x, int y) {
  for (int32_t i = 0; i < d.buttons.count; ++i) {
    const XRectangle& r = d.button_rects[i];
    if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return i;
  }
  return -1;
}

int32_t key_answer(Dialog& d, XKeyEvent& event) {
  char typed[8] = {};
  KeySym sym = NoSymbol;
  int count = XLookupString(&event, typed, sizeof typed, &sym, nullptr);
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter: return dialog_key(d.buttons, DialogKey::Enter, 0, &d.focused);
    case XK_Escape: return dialog_key(d.buttons, DialogKey::Escape, 0, &d.focused);
    case XK_space: return dialog_key(d.buttons, DialogKey::Space, 0, &d.focused);
    case XK_Tab: return dialog_key(d.buttons, DialogKey::Tab, 0, &d.focused);
    case XK_ISO_Left_Tab:
    case XK_Left: return dialog_key(d.buttons, DialogKey::Left, 0, &d.focused);
    case XK_Right: return dialog_key(d.buttons, DialogKey::Right, 0, &d.focused);
    default: return count == 1 ? dialog_key(d.buttons, DialogKey::Character, typed[0], &d.focused) : 0;
  }
}

void set_title(Dialog& d, const char* caption) {
  std::string latin1;
  for (const char* c = caption; *c; ++c) {
    char32_t code = cp1252_to_unicode(static_cast<uint8_t>(*c));
    latin1 += code <= 0xFF ? static_cast<char>(code) : '?';
  }
  XStoreName(d.display, d.window, latin1.c_str());
  std::string utf8 = cp1252_to_utf8(caption);
  XChangeProperty(d.display, d.window, XInternAtom(d.display, "_NET_WM_NAME", False),
                  XInternAtom(d.display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

void create_window(Dialog& d, const char* caption) {
  const int screen = DefaultScreen(d.display);
  const int x = (DisplayWidth(d.display, screen) - d.width) / 2;
  const int y = (DisplayHeight(d.display, screen) - d.height) / 2;
  d.window = XCreateSimpleWindow(d.display, RootWindow(d.display, screen), std::max(x, 0), std::max(y, 0),
                                 static_cast<unsigned>(d.width), static_cast<unsigned>(d.height), 1, d.black, d.face);
  set_title(d, caption);
  XSizeHints hints{};
  hints.flags = PPosition | PMinSize | PMaxSize;
  hints.x = std::max(x, 0);
  hints.y = std::max(y, 0);
  hints.min_width = hints.max_width = d.width;
  hints.min_height = hints.max_height = d.height;
  XSetWMNormalHints(d.display, d.window, &hints);
  Atom type = XInternAtom(d.display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(d.display, d.window, XInternAtom(d.display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
  XSelectInput(d.display, d.window,
               ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
  d.gc = XCreateGC(d.display, d.window, 0, nullptr);
  XSetFont(d.display, d.gc, d.font->fid);
}

int32_t run(Dialog& d) {
  Atom delete_window = XInternAtom(d.display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(d.display, d.window, &delete_window, 1);
  XMapRaised(d.display, d.window);
  int32_t answer = 0;
  while (!answer && !d.lost.load()) {
    if (!wait_x_event(d.display, &d.lost, 100)) continue;
    XEvent event;
    XNextEvent(d.display, &event);
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) draw(d);
        break;
      case MapNotify:  // without a window manager nobody else hands out the focus
        XSetInputFocus(d.display, d.window, RevertToParent, CurrentTime);
        break;
      case KeyPress:
        answer = key_answer(d, event.xkey);
        draw(d);
        break;
      case ButtonPress:
        if (event.xbutton.button == Button1) d.pressed = button_at(d, event.xbutton.x, event.xbutton.y);
        draw(d);
        break;
      case ButtonRelease:
        if (event.xbutton.button == Button1 && d.pressed >= 0) {
          if (button_at(d, event.xbutton.x, event.xbutton.y) == d.pressed) answer = d.buttons.results[d.pressed];
          d.pressed = -1;
          draw(d);
        }
        break;
      case ClientMessage:
        if (static_cast<Atom>(event.xclient.data.l[0]) == delete_window) answer = d.buttons.escape_result;
        break;
    }
  }
  return answer;
}

}  // namespace

int32_t x11_message_box(const char* text, const char* caption, uint32_t style) {
  Dialog d;
  d.display = open_x_display(&d.lost);
  if (!d.display) return X11_NO_DISPLAY;
  if (!load_font(d)) {
    XCloseDisplay(d.display);
    return X11_NO_DISPLAY;
  }
  auto previous_handler = XSetErrorHandler(ignore_x_errors);
  const int screen = DefaultScreen(d.display);
  d.black = BlackPixel(d.display, screen);
  d.white = WhitePixel(d.display, screen);
  d.face = named_colour(d.display, "gray85", d.white);
  d.buttons = dialog_buttons(style);
  for (const auto& line : split_lines(text)) d.lines.push_back(to_glyphs(line, d.wide_font));
  lay_out(d);
  create_window(d, caption);
  int32_t answer = run(d);
  XFreeGC(d.display, d.gc);
  XDestroyWindow(d.display, d.window);
  XFreeFont(d.display, d.font);
  XSync(d.display, False);
  XSetErrorHandler(previous_handler);
  XCloseDisplay(d.display);
  return answer;
}

}  // namespace zv::platform
