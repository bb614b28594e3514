// The hack's command line and $XSCREENSAVER_WINDOW: which window, and the bad ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/locker/locker_options.h"

namespace morv {
namespace {

struct Parsed {
  bool ok;
  LockerOptions options;
  std::string error;
};

Parsed parse(std::vector<const char*> args, const char* environment = nullptr) {
  args.insert(args.begin(), "morv-hack");
  Parsed p{};
  p.ok = parse_locker_options(static_cast<int>(args.size()), args.data(), environment, &p.options, &p.error);
  return p;
}

TEST(LockerOptions, WindowIdsAsLockersWriteThem) {
  struct Case {
    const char* text;
    bool ok;
    unsigned long id;
  };
  const Case cases[] = {
      {"0x1a00005", true, 0x1a00005}, {"0X1A00005", true, 0x1a00005}, {"27262981", true, 27262981},
      {"0xffffffff", true, 0xffffffffUL}, {"4294967295", true, 4294967295UL},
      {"0", false, 0}, {"0x0", false, 0}, {"0x", false, 0}, {"", false, 0}, {"-5", false, 0}, {"+5", false, 0},
      {" 5", false, 0}, {"5 ", false, 0}, {"12abc", false, 0}, {"0x12g", false, 0}, {"0x100000000", false, 0},
      {"4294967296", false, 0}, {"99999999999999999999999", false, 0}, {"1e6", false, 0},
  };
  for (const Case& c : cases) {
    unsigned long id = 7;
    EXPECT_EQ(parse_window_id(c.text, &id), c.ok) << c.text;
    EXPECT_EQ(id, c.ok ? c.id : 7UL) << c.text << ": a refused id leaves the output alone";
  }
  unsigned long id = 0;
  EXPECT_FALSE(parse_window_id(nullptr, &id));
}

TEST(LockerOptions, WhichWindowFromArgumentsAndEnvironment) {
  struct Case {
    std::vector<const char*> args;
    const char* environment;
    LockerTarget target;
    unsigned long window;
    bool from_environment;
  };
  const Case cases[] = {
      {{}, nullptr, LockerTarget::OWN_WINDOW, 0, false},
      {{}, "", LockerTarget::OWN_WINDOW, 0, false},
      {{}, "0x2c00007", LockerTarget::WINDOW_ID, 0x2c00007, true},
      {{}, "46137351", LockerTarget::WINDOW_ID, 46137351, true},
      {{"-root"}, nullptr, LockerTarget::ROOT, 0, false},
      {{"--root"}, nullptr, LockerTarget::ROOT, 0, false},
      // The locker's window lies on the root: the variable names it.
      {{"-root"}, "0x2c00007", LockerTarget::WINDOW_ID, 0x2c00007, true},
      {{"-window"}, "0x2c00007", LockerTarget::OWN_WINDOW, 0, false},
      {{"-window-id", "0x400001"}, "0x2c00007", LockerTarget::WINDOW_ID, 0x400001, false},
      {{"--window-id=123"}, nullptr, LockerTarget::WINDOW_ID, 123, false},
      {{"-window-id", "0x400001", "-root"}, nullptr, LockerTarget::WINDOW_ID, 0x400001, false},
      {{"-root", "-window"}, nullptr, LockerTarget::OWN_WINDOW, 0, false},
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.args, c.environment);
    std::string label = c.args.empty() ? "(none)" : c.args[0];
    ASSERT_TRUE(p.ok) << label << ": " << p.error;
    EXPECT_EQ(p.options.target, c.target) << label;
    EXPECT_EQ(p.options.window, c.window) << label;
    EXPECT_EQ(p.options.from_environment, c.from_environment) << label;
  }
}

TEST(LockerOptions, BadInputIsRefusedWithAReason) {
  struct Case {
    std::vector<const char*> args;
    const char* environment;
    const char* reason;
  };
  const Case cases[] = {
      {{"-window-id"}, nullptr, "needs a window id"},
      {{"-window-id", "zzz"}, nullptr, "bad window id \"zzz\""},
      {{"--window-id="}, nullptr, "bad window id \"\""},
      {{"-window-id", "0"}, nullptr, "bad window id \"0\""},
      {{}, "window", "bad $XSCREENSAVER_WINDOW \"window\""},
      {{"-root"}, "0x", "bad $XSCREENSAVER_WINDOW \"0x\""},
      {{"-fullscreen"}, nullptr, "unknown option \"-fullscreen\""},
      {{"/s"}, nullptr, "unexpected argument \"/s\""},
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.args, c.environment);
    EXPECT_FALSE(p.ok) << c.reason;
    EXPECT_NE(p.error.find(c.reason), std::string::npos) << p.error;
  }
  // A bad variable does not matter when the command line names the window.
  EXPECT_TRUE(parse({"-window"}, "junk").ok);
  EXPECT_TRUE(parse({"-window-id", "5"}, "junk").ok);
}

TEST(LockerOptions, HelpIsNotAnError) {
  const Parsed p = parse({"--help"}, "junk");
  EXPECT_TRUE(p.ok);
  EXPECT_TRUE(p.options.help);
  EXPECT_TRUE(parse({"-h"}).options.help);
}

}  // namespace
}  // namespace morv
