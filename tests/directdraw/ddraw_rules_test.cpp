// The DirectX driver's platform-neutral rules: mode search, conversion choice, key
// folding, lost-surface recovery and the rebuild after a display-mode change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "display/directdraw/ddraw_driver.h"
#include "display/directdraw/ddraw_rules.h"
#include "display/opengl/opengl_driver.h"
#include "gfx/core/graphics_state.h"
#ifdef _WIN32
#include "display/gdi/gdi_driver.h"
#else
#include "display/x11/x11_driver.h"
#endif

namespace zv {
namespace {

struct ModeCall {
  int32_t width, height, bits, refresh_rate, vga;
  bool operator==(const ModeCall&) const = default;
};

// A display that takes only the modes listed in `accepts`, recording every request.
struct FakeDisplay {
  std::vector<ModeCall> accepts;
  std::vector<ModeCall> calls;
  static int32_t set_mode(void* context, int32_t w, int32_t h, int32_t bits, int32_t rate, int32_t vga) {
    auto* d = static_cast<FakeDisplay*>(context);
    ModeCall call{w, h, bits, rate, vga};
    d->calls.push_back(call);
    for (const ModeCall& a : d->accepts)
      if (a == call) return 0;
    return -1;
  }
  int32_t search(int32_t w, int32_t h, int32_t depth, int32_t rate = 0) {
    return ddraw_search_mode(w, h, depth, rate, set_mode, this);
  }
};

TEST(DdrawModeSearch, VgaModeFirstThenTallerHeightsUntil1024) {
  FakeDisplay display;
  EXPECT_EQ(display.search(320, 200, 8), -1);
  const std::vector<ModeCall> expected = {{320, 200, 8, 0, 1}, {320, 240, 8, 0, 0}, {320, 480, 8, 0, 0},
                                          {320, 600, 8, 0, 0}, {320, 768, 8, 0, 0}, {320, 1024, 8, 0, 0}};
  EXPECT_EQ(display.calls, expected);
}

TEST(DdrawModeSearch, PartnerDepthBeforeTheNextHeight) {
  FakeDisplay display;
  display.accepts = {{640, 480, 15, 75, 0}};
  EXPECT_EQ(display.search(640, 400, 16, 75), 480);
  const std::vector<ModeCall> expected = {
      {640, 400, 16, 75, 0}, {640, 400, 15, 75, 0}, {640, 480, 16, 75, 0}, {640, 480, 15, 75, 0}};
  EXPECT_EQ(display.calls, expected);
  EXPECT_EQ(ddraw_row_offset(480, 400), 40);  // a 640 x 400 picture starts at row 40 of 640 x 480
}

TEST(DdrawModeSearch, TwentyFourAndThirtyTwoArePartners) {
  FakeDisplay display;
  display.accepts = {{800, 600, 24, 0, 0}};
  EXPECT_EQ(display.search(800, 600, 32), 600);
  ASSERT_EQ(display.calls.size(), 2u);
  EXPECT_EQ(display.calls[1].bits, 24);
  display.calls.clear();
  display.accepts = {{800, 600, 32, 0, 0}};
  EXPECT_EQ(display.search(800, 600, 24), 600);
  EXPECT_EQ(display.calls.size(), 2u);
}

TEST(DdrawModeSearch, HeightsAtOrAbove1024AreTriedOnlyAsTheyAre) {
  FakeDisplay display;
  EXPECT_EQ(display.search(1280, 1024, 32), -1);
  EXPECT_EQ(display.calls.size(), 2u);  // 32 and 24 at 1024 rows, nothing taller
  display.calls.clear();
  EXPECT_EQ(display.search(1600, 1200, 8), -1);
  EXPECT_EQ(display.calls.size(), 1u);
  display.calls.clear();
  EXPECT_EQ(display.search(320, 200, 16), -1);
  EXPECT_EQ(display.calls[0].vga, 0);  // the VGA flag is for 8 bits only
  EXPECT_EQ(ddraw_search_mode(320, 200, 8, 0, nullptr, nullptr), -1);
}

TEST(DdrawModeSearch, NextHeightAndRowOffset) {
  EXPECT_EQ(ddraw_next_height(200), 240);
  EXPECT_EQ(ddraw_next_height(240), 480);
  EXPECT_EQ(ddraw_next_height(767), 768);
  EXPECT_EQ(ddraw_next_height(1023), 1024);
  EXPECT_EQ(ddraw_next_height(1024), 0);
  EXPECT_EQ(ddraw_row_offset(240, 200), 20);
  EXPECT_EQ(ddraw_row_offset(480, 479), 0);
  EXPECT_EQ(ddraw_row_offset(400, 400), 0);
}

TEST(DdrawPixelFormat, DisplayTypeAndRedLowFromTheMasks) {
  struct Case {
    uint32_t bits, red, green;
    int32_t type, red_low;
  };
  const Case cases[] = {
      {8, 0, 0, 8, 0},
      {16, 0x7C00, 0x3E0, 15, 0},   // 5-5-5 is reported as 16 bits
      {16, 0x1F, 0x3E0, 15, 1},
      {16, 0xF800, 0x7E0, 16, 0},
      {16, 0x1F, 0x7E0, 16, 1},
      {24, 0xFF0000, 0xFF00, 24, 0},
      {24, 0xFF, 0xFF00, 24, 1},
      {32, 0xFF0000, 0xFF00, 32, 0},
      {32, 0xFF, 0xFF00, 32, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ddraw_display_type(c.bits, c.green), c.type) << c.bits << " bits, green " << c.green;
    EXPECT_EQ(ddraw_red_low(c.bits, c.red), c.red_low) << c.bits << " bits, red " << c.red;
  }
}

TEST(DdrawKeyboard, ExtendedKeysFoldOntoTheirBaseScanCode) {
  uint8_t device[256] = {};
  uint8_t keys[128];
  std::fill(std::begin(keys), std::end(keys), 7);
  device[0x9C] = 0x80;  // keypad Enter: Enter's code with the top bit
  device[0x01] = 0x80;  // Esc
  device[0x1D] = 0x7F;  // only bit 7 counts
  ddraw_fold_key_state(device, keys);
  EXPECT_EQ(keys[0x1C], 1);
  EXPECT_EQ(keys[0x01], 1);
  EXPECT_EQ(keys[0x1D], 0);
  int32_t down = 0;
  for (uint8_t k : keys) down += k;
  EXPECT_EQ(down, 2);
  device[0x1C] = 0x80;  // Enter and keypad Enter together still make one entry
  device[0x9C] = 0;
  ddraw_fold_key_state(device, keys);
  EXPECT_EQ(keys[0x1C], 1);
}

// Surfaces that report themselves lost `lost_reports` times; restoring the primary
// answers with the next result of `restore_results` (then success).
struct FakeSurfaces {
  int32_t lost_reports = 0;
  std::vector<uint32_t> restore_results;
  std::vector<uint32_t> attempt_results;
  bool has_back = true;
  bool running = true;
  bool rebuild_result = true;
  std::vector<std::string> log;

  DdrawRecovery recovery() {
    return DdrawRecovery{
        this,
        [](void* c) {
          auto* f = static_cast<FakeSurfaces*>(c);
          f->log.push_back("lost?");
          return f->lost_reports > 0 && f->lost_reports-- > 0;
        },
        has_back ? +[](void* c) {
          static_cast<FakeSurfaces*>(c)->log.push_back("restore back");
          return DDRAW_OK;
        } : nullptr,
        [](void* c) {
          auto* f = static_cast<FakeSurfaces*>(c);
          f->log.push_back("restore primary");
          if (f->restore_results.empty()) return DDRAW_OK;
          uint32_t r = f->restore_results.front();
          f->restore_results.erase(f->restore_results.begin());
          return r;
        },
        [](void* c) {
          auto* f = static_cast<FakeSurfaces*>(c);
          f->log.push_back("rebuild");
          return f->rebuild_result;
        },
        [](void* c) { return static_cast<FakeSurfaces*>(c)->running; },
    };
  }
  static uint32_t attempt(void* c) {
    auto* f = static_cast<FakeSurfaces*>(c);
    f->log.push_back("attempt");
    if (f->attempt_results.empty()) return DDRAW_OK;
    uint32_t r = f->attempt_results.front();
    f->attempt_results.erase(f->attempt_results.begin());
    return r;
  }
};

using Log = std::vector<std::string>;

TEST(DdrawRecovery, SurfacesThatAreNotLostAreLeftAlone) {
  FakeSurfaces s;
  EXPECT_EQ(ddraw_with_recovery(s.recovery(), FakeSurfaces::attempt, &s), DDRAW_OK);
  EXPECT_EQ(s.log, (Log{"lost?", "attempt"}));
}

TEST(DdrawRecovery, LostSurfacesAreRestoredBackFirstBeforeTheAttempt) {
  FakeSurfaces s;
  s.lost_reports = 1;
  ddraw_with_recovery(s.recovery(), FakeSurfaces::attempt, &s);
  EXPECT_EQ(s.log, (Log{"lost?", "restore back", "restore primary", "lost?", "attempt"}));
  FakeSurfaces full_screen;  // the back surface is the primary one
  full_screen.has_back = false;
  full_screen.lost_reports = 1;
  ddraw_with_recovery(full_screen.recovery(), FakeSurfaces::attempt, &full_screen);
  EXPECT_EQ(full_screen.log, (Log{"lost?", "restore primary", "lost?", "attempt"}));
}

TEST(DdrawRecovery, AnAttemptThatFindsItsSurfaceLostRecoversAndTriesAgain) {
  FakeSurfaces s;
  s.attempt_results = {DDRAW_SURFACE_LOST};
  s.lost_reports = 0;
  EXPECT_EQ(ddraw_with_recovery(s.recovery(), FakeSurfaces::attempt, &s), DDRAW_OK);
  EXPECT_EQ(s.log, (Log{"lost?", "attempt", "lost?", "attempt"}));
  FakeSurfaces other_error;
  other_error.attempt_results = {0x80004005};  // any other failure is not retried
  EXPECT_EQ(ddraw_with_recovery(other_error.recovery(), FakeSurfaces::attempt, &other_error), 0x80004005u);
  EXPECT_EQ(other_error.log.size(), 2u);
}

TEST(DdrawRecovery, WrongModeRebuildsTheDriverAndChecksAgain) {
  FakeSurfaces s;
  s.lost_reports = 1;
  s.restore_results = {DDRAW_WRONG_MODE};
  ddraw_with_recovery(s.recovery(), FakeSurfaces::attempt, &s);
  EXPECT_EQ(s.log, (Log{"lost?", "restore back", "restore primary", "rebuild", "lost?", "attempt"}));
}

TEST(DdrawRecovery, ADisplayThatStaysLostIsGivenUpUntilTheNextCycle) {
  FakeSurfaces s;
  s.lost_reports = 1000;
  s.attempt_results.assign(100, DDRAW_SURFACE_LOST);
  EXPECT_EQ(ddraw_with_recovery(s.recovery(), FakeSurfaces::attempt, &s), DDRAW_SURFACE_LOST);
  int32_t attempts = 0, restores = 0;
  for (const std::string& e : s.log) {
    attempts += e == "attempt";
    restores += e == "restore primary";
  }
  EXPECT_EQ(attempts, DDRAW_RECOVERY_ROUNDS);
  EXPECT_EQ(restores, DDRAW_RECOVERY_ROUNDS * DDRAW_RECOVERY_ROUNDS);
}

TEST(DdrawRecovery, AClosingDisplayStopsTheRecovery) {
  FakeSurfaces s;
  s.lost_reports = 5;
  s.restore_results = {DDRAW_WRONG_MODE};
  s.rebuild_result = false;  // the rebuild gave up because the display is closing
  s.running = false;
  EXPECT_EQ(ddraw_with_recovery(s.recovery(), FakeSurfaces::attempt, &s), DDRAW_SURFACE_LOST);
  EXPECT_EQ(s.log, (Log{"lost?", "restore back", "restore primary", "rebuild"}));
}

struct FakeRebuild {
  int32_t failures = 0;
  int32_t closing_after = 1000;  // the display starts closing after this many opens
  Log log;
  int32_t slept = 0;
  DdrawRebuild rebuild(bool flashing = true) {
    return DdrawRebuild{
        this,
        [](void* c) { static_cast<FakeRebuild*>(c)->log.push_back("close"); },
        [](void* c) {
          auto* f = static_cast<FakeRebuild*>(c);
          f->log.push_back("open");
          --f->closing_after;
          return f->failures-- > 0 ? -1 : 0;
        },
        [](int32_t ms) { current->slept += ms; },
        [](void* c) { return static_cast<FakeRebuild*>(c)->closing_after > 0; },
        flashing ? +[](void* c) { static_cast<FakeRebuild*>(c)->log.push_back("stop flashing"); } : nullptr,
    };
  }
  static FakeRebuild* current;
};
FakeRebuild* FakeRebuild::current = nullptr;

TEST(DdrawRebuild, OpensAgainEvery300MsUntilItSucceeds) {
  FakeRebuild r;
  FakeRebuild::current = &r;
  r.failures = 2;
  EXPECT_TRUE(ddraw_rebuild(r.rebuild()));
  EXPECT_EQ(r.log, (Log{"close", "open", "close", "open", "close", "open", "stop flashing"}));
  EXPECT_EQ(r.slept, 2 * DDRAW_REBUILD_PAUSE_MS);
  FakeRebuild quiet;  // without a flashing function nothing more happens
  FakeRebuild::current = &quiet;
  EXPECT_TRUE(ddraw_rebuild(quiet.rebuild(false)));
  EXPECT_EQ(quiet.log, (Log{"close", "open"}));
}

TEST(DdrawRebuild, GivesUpClosedWhenTheDisplayCloses) {
  FakeRebuild r;
  FakeRebuild::current = &r;
  r.failures = 1000;
  r.closing_after = 3;
  EXPECT_FALSE(ddraw_rebuild(r.rebuild()));
  EXPECT_EQ(r.log.back(), "close");
  EXPECT_LE(r.slept, 3 * DDRAW_REBUILD_PAUSE_MS);
}

// DirectX comes first on Windows; on X, where its mode switch disturbs the desktop, second.
TEST(DdrawDriverList, PassOrder) {
  const DisplayDriver* const* list = display_driver_list();
  ASSERT_NE(list, nullptr);
#ifdef _WIN32
  EXPECT_EQ(list[0], &ddraw_driver);
  EXPECT_EQ(list[1], &gdi_driver);
#else
  EXPECT_EQ(list[0], &x11_driver);
  EXPECT_EQ(list[1], &ddraw_driver);
#endif
  EXPECT_EQ(list[2], &opengl_driver);
  EXPECT_EQ(list[3], nullptr);
  EXPECT_STREQ(ddraw_driver.driver_name, "DirectX");
  // Both refuse what only other drivers can do, whatever the platform.
  EXPECT_EQ(ddraw_driver.open_display("t", 640, 400, 32, 0, SCREEN_OPENGL), -1);
  EXPECT_EQ(ddraw_driver.open_display("t", 640, 400, 32, 0, SCREEN_SHAPED_WINDOW), -1);
  ddraw_driver.close_display();
}

}  // namespace
}  // namespace zv
