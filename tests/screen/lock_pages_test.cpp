#include <cstring>

#include "gfx/core/auto_lock.h"
#include "gfx/core/pixel_ops.h"
#include "runtime/strings.h"
#include "screen_fixture.h"

using namespace zv;
using test::fake_state;

namespace {

int dirty_rows(const GraphicsState* g) {
  int n = 0;
  for (int y = 0; y < g->height; ++y) n += g->dirty[y] != 0;
  return n;
}

class LockTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    ASSERT_EQ(screen_set_mode(13, 0, 3, 0, 0), 0);
    std::memset(gs()->dirty, 0, 200);
    fake_state(0).locks = fake_state(0).unlocks = 0;
  }
};

}  // namespace

TEST_F(LockTest, LocksDoNotNest) {
  screen_lock();
  screen_lock();
  EXPECT_EQ(fake_state(0).locks, 1);
  EXPECT_TRUE(gs()->flags & GS_LOCKED);
  screen_unlock(-1, -1);
  EXPECT_EQ(fake_state(0).unlocks, 1);
  EXPECT_FALSE(gs()->flags & (GS_LOCKED | GS_AUTO_LOCKED));
  screen_unlock(-1, -1);
  EXPECT_EQ(fake_state(0).unlocks, 1);
}

TEST_F(LockTest, UnlockMarksOnlyARangeInsideTheScreen) {
  screen_unlock(10, 5);
  EXPECT_EQ(dirty_rows(gs()), 0);
  screen_unlock(0, 200);
  EXPECT_EQ(dirty_rows(gs()), 0);
  screen_unlock(3, 7);
  EXPECT_EQ(dirty_rows(gs()), 5);
  EXPECT_EQ(gs()->dirty[3], 1);
  EXPECT_EQ(gs()->dirty[8], 0);
  screen_unlock(-1, -1);
  EXPECT_EQ(dirty_rows(gs()), 200);
}

TEST_F(LockTest, UnlockMarksNothingWhileDrawingToAHiddenPage) {
  screen_set_pages(1, -1);
  std::memset(gs()->dirty, 0, 200);
  screen_unlock(-1, -1);
  EXPECT_EQ(dirty_rows(gs()), 0);
}

TEST_F(LockTest, AutoLockLeavesAnApplicationLockAlone) {
  auto_lock(gs());
  auto_unlock(gs());
  EXPECT_EQ(fake_state(0).locks, 1);
  EXPECT_EQ(fake_state(0).unlocks, 1);
  screen_lock();
  auto_lock(gs());
  auto_unlock(gs());
  EXPECT_EQ(fake_state(0).locks, 2);
  EXPECT_EQ(fake_state(0).unlocks, 1);
  EXPECT_TRUE(gs()->flags & GS_LOCKED);
}

TEST_F(LockTest, PageSelectionReportsAndMarks) {
  EXPECT_EQ(screen_set_pages(1, 2), 0);
  EXPECT_EQ(gs()->visible_page, 2);
  EXPECT_EQ(gs()->visible_buffer, gs()->pages[2]);
  EXPECT_EQ(dirty_rows(gs()), 200);
  EXPECT_EQ(fake_state(0).locks, 1);
  EXPECT_EQ(screen_set_pages(-1, -1), 1 | 2 << 8);
  EXPECT_EQ(gs()->visible_page, 0);
  EXPECT_EQ(screen_set_pages(7, 1), 0);  // work page 7 does not exist: ignored
  EXPECT_EQ(screen_set_pages(2, -5), 0 | 1 << 8);
  EXPECT_EQ(get_draw_context()->work_page, 2);
  EXPECT_EQ(get_draw_context()->rows[0], gs()->pages[2]);
}

TEST_F(LockTest, PageCopyCopiesPixelsAndText) {
  screen_set_pages(1, 0);
  std::memset(gs()->pages[1], 0x5A, 320 * 200);
  gs()->char_pages[1][0].character = 'A';
  std::memset(gs()->dirty, 0, 200);
  EXPECT_EQ(screen_copy_page(-1, -1), 0);
  EXPECT_EQ(gs()->pages[0][320 * 199 + 319], 0x5A);
  EXPECT_EQ(gs()->char_pages[0][0].character, 'A');
  EXPECT_EQ(dirty_rows(gs()), 200);
  EXPECT_FALSE(gs()->flags & (GS_LOCKED | GS_AUTO_LOCKED));
  EXPECT_EQ(screen_copy_page(3, 0), 1);
  EXPECT_EQ(screen_copy_page(0, 3), 1);
  EXPECT_EQ(screen_copy_page(1, 1), 0);
}

TEST_F(LockTest, PageCopyPresentsOnABackEndWithoutThread) {
  test::give_present_frame(0);
  EXPECT_EQ(screen_copy_page(-1, -1), 0);
  EXPECT_EQ(fake_state(0).presents, 1);
  EXPECT_EQ(fake_state(0).pumps, 1);
}

TEST_F(LockTest, CharCellsAreFilledInsideThePageOnly) {
  const CharCell* page = gs()->char_pages[0];
  EXPECT_EQ(page[0].character, 32u);  // the work page starts blank
  EXPECT_EQ(page[0].foreground, 15u);
  EXPECT_EQ(gs()->char_pages[1][0].character, 0u);
  fill_char_cells(38, 23, 100, 100, 0, 'x', 1, 2);
  EXPECT_EQ(page[23 * 40 + 38].character, static_cast<uint32_t>('x'));
  EXPECT_EQ(page[24 * 40 + 39].background, 2u);
  EXPECT_EQ(page[23 * 40 + 37].character, 32u);
  fill_char_cells(-5, -5, 1, 1, 0, 'y', 1, 2);
  EXPECT_EQ(page[0].character, static_cast<uint32_t>('y'));
  fill_char_cells(0, 0, 40, 25, 3, 'z', 0, 0);   // no page 3
  fill_char_cells(0, 0, 40, 25, -1, 'z', 0, 0);
}

TEST(WindowTitle, DefaultIsTheFileNameWithoutItsExtension) {
  char title[128];
  title_from_module_path("c:\\dir\\saver.old.scr", title, sizeof title);
  EXPECT_STREQ(title, "saver.old");
  title_from_module_path("/usr/bin/morv", title, sizeof title);
  EXPECT_STREQ(title, "morv");
  std::string long_name(300, 'a');
  title_from_module_path(long_name.c_str(), title, sizeof title);
  EXPECT_EQ(std::strlen(title), 127u);
}

TEST_F(ScreenTest, TitleIsCutAndSentToTheDriver) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  std::string text(200, 't');
  StringDescriptor s = {text.data(), static_cast<int32_t>(text.size()), 0};
  set_window_title(&s);
  EXPECT_EQ(std::strlen(window_title()), 127u);
  ASSERT_EQ(fake_state(0).titles.size(), 1u);
  EXPECT_EQ(fake_state(0).titles[0].size(), 127u);
  EXPECT_FALSE(test::fake_opens().front().title.empty());
}

namespace {

// A window thread may convert the pages whenever the program does not hold the lock:
// from the driver's open on, no page byte may change outside lock ... unlock.
uint64_t pages_hash() {
  uint64_t h = 1469598103934665603ull;
  GraphicsState* g = current_screen;
  for (int32_t p = 0; p < g->num_pages; ++p)
    for (size_t i = 0; i < size_t(g->pitch) * size_t(g->height); ++i) h = (h ^ g->pages[p][i]) * 1099511628211ull;
  return h;
}

uint64_t hash_when_released;
int32_t writes_outside_lock;

void watch_pages(const char* call) {
  if (std::strcmp(call, "open") == 0) {
    // What a window thread could have shown: anything but the cleared screen.
    for (int32_t p = 0; p < current_screen->num_pages; ++p)
      std::memset(current_screen->pages[p], 0x5A, size_t(current_screen->pitch) * size_t(current_screen->height));
  } else if (std::strcmp(call, "lock") == 0) {
    if (pages_hash() != hash_when_released) ++writes_outside_lock;
    return;
  }
  hash_when_released = pages_hash();  // after the open and just before each unlock
}

}  // namespace

TEST_F(ScreenTest, OpeningWritesThePagesOnlyUnderTheDriversLock) {
  for (int32_t mode : {1, 9, 13, 17, 21}) {
    test::install_fake_drivers(2);
    fake_state(0).watch = watch_pages;
    writes_outside_lock = 0;
    ASSERT_EQ(screen_set_mode(mode, 0, 2, 0, 0), 0) << mode;
    EXPECT_EQ(writes_outside_lock, 0) << "mode " << mode;
    screen_lock();  // every write so far must have been seen by a lock
    screen_unlock(-1, -1);
    EXPECT_EQ(writes_outside_lock, 0) << "mode " << mode;
    EXPECT_EQ(gs()->pages[1][0], 0) << "the pages are cleared, mode " << mode;
    screen_exit_handler();
  }
}

namespace {

int32_t unlocks_with_flags_set;
void watch_flags(const char* call) {
  if (std::strcmp(call, "unlock") == 0 && current_screen && (current_screen->flags & (GS_LOCKED | GS_AUTO_LOCKED)))
    ++unlocks_with_flags_set;
}

}  // namespace

// The window thread reads the state's flags under the lock, so the lock bits are cleared
// before the driver's lock is released, by the program's unlock and the automatic one.
TEST_F(LockTest, LockBitsAreClearedBeforeTheDriverUnlocks) {
  fake_state(0).watch = watch_flags;
  unlocks_with_flags_set = 0;
  screen_lock();
  screen_unlock(-1, -1);
  auto_lock(gs());
  auto_unlock(gs());
  EXPECT_EQ(fake_state(0).unlocks, 2);
  EXPECT_EQ(unlocks_with_flags_set, 0);
  fake_state(0).watch = nullptr;
}
