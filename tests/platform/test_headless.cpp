// The headless host: the schedule and its window names, actions, keys and scan codes, the
// failure handler, read-back of bitmaps, PNG files, counters and reset.
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/window_recorder.h"
#include "src/handle_table.h"
#include "support/files.h"

namespace {

using HeadlessTest = UserTest;

TEST_F(HeadlessTest, ScheduleRunsByTimeThenOrderAndResolvesNamesOnDelivery) {
  std::vector<int> order;
  headless_at(20, [&] { order.push_back(3); });
  headless_at(10, [&] { order.push_back(1); });
  headless_at(10, [&] { order.push_back(2); });
  headless_click(15, "Later", 1, 1);  // no such window yet when scheduled
  headless_click(15, "Nobody", 1, 1);
  EXPECT_EQ(headless_pending_input(), 5);

  HWND later = make_window("Later");
  ShowWindow(later, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  EXPECT_TRUE(order.empty()) << "nothing before its time";

  headless_advance(15);
  MSG m = poll();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(m.message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(m.hwnd, later);
  EXPECT_EQ(m.time, DWORD(15));
  EXPECT_EQ(poll().message, UINT(WM_LBUTTONUP));
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "the click for a missing window is dropped";
  EXPECT_EQ(headless_pending_input(), 1);
  headless_advance(5);
  poll();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(headless_pending_input(), 0);
}

TEST_F(HeadlessTest, CtrlKeyAndScanCodes) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  headless_ctrl_key(0, nullptr, 'q');
  std::vector<std::pair<UINT, WPARAM>> keys;
  int chars = 0;
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) {
    TranslateMessage(&m);
    if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) keys.emplace_back(m.message, m.wParam);
    if (m.message == WM_CHAR) {
      EXPECT_EQ(m.wParam, WPARAM('q' & 31));
      ++chars;
    }
    DispatchMessageA(&m);
  }
  EXPECT_EQ(
      keys,
      (std::vector<std::pair<UINT, WPARAM>>{
          {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'Q'}, {WM_KEYUP, 'Q'}, {WM_KEYUP, VK_CONTROL}}));
  EXPECT_EQ(chars, 1);

  // Scan codes are stable per key and distinct between keys, with or without a key code.
  auto scan_of = [](int ch) {
    headless_type(0, nullptr, ch);
    MSG m = poll();
    poll();
    return (uintptr_t(m.lParam) >> 16) & 0xFF;
  };
  EXPECT_EQ(scan_of('a'), scan_of('A'));
  EXPECT_EQ(scan_of('a'), scan_of('a'));
  EXPECT_NE(scan_of('a'), scan_of('b'));
  EXPECT_NE(scan_of(233), scan_of(232));
  EXPECT_NE(scan_of(233), scan_of('a'));
  EXPECT_EQ(scan_of(233), scan_of(233));
}

void exit_with_reason(const char* reason) {
  std::fprintf(stderr, "handled: %s\n", reason);
  _exit(3);
}

using HeadlessDeathTest = HeadlessTest;

TEST_F(HeadlessDeathTest, FailureHandlerGetsTheReason) {
  headless_set_failure_handler(exit_with_reason);
  EXPECT_EXIT(WaitMessage(), testing::ExitedWithCode(3), "handled: .*could never end");
  headless_set_time_limit(250);
  SetTimer(nullptr, 0, 100, nullptr);
  WaitMessage();
  EXPECT_EQ(headless_now(), 100u);
  poll();
  WaitMessage();
  poll();
  EXPECT_EQ(headless_now(), 200u);
  EXPECT_EXIT(WaitMessage(), testing::ExitedWithCode(3), "handled: .*300 ms.*limit of 250 ms");
}

TEST_F(HeadlessTest, BitmapReadBack) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 6);
  ASSERT_TRUE(bitmap);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc, blue);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 2, 2, 9, 7);  // NULL_PEN: covers 2..7 x 2..5
  EXPECT_EQ(headless_bitmap_pixel(bitmap, 2, 2), 0x0000FFu);
  EXPECT_EQ(headless_bitmap_pixel(bitmap, 7, 5), 0x0000FFu);
  EXPECT_EQ(headless_bitmap_pixel(bitmap, 8, 0), 0xFFFFFFFFu);
  EXPECT_EQ(headless_bitmap_pixel(bitmap, -1, 0), 0xFFFFFFFFu);
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  ASSERT_TRUE(headless_bitmap_pixels(bitmap, &pixels, &width, &height));
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 6);
  ASSERT_EQ(pixels.size(), 48u);
  EXPECT_EQ(pixels[5 * 8 + 7], 0x0000FFu);
  EXPECT_EQ(pixels[5 * 8 + 1], headless_bitmap_pixel(bitmap, 1, 5));
  dump_bitmap_if_failed(bitmap);
  EXPECT_FALSE(headless_bitmap_pixels(reinterpret_cast<HBITMAP>(dc), &pixels, &width, &height));

  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, old);
  DeleteObject(blue);
  DeleteObject(bitmap);
  DeleteDC(dc);
  PlatformCounters c = headless_counters();
  EXPECT_EQ(c.dcs, 0);
  EXPECT_EQ(c.gdi_objects, 0);
}

TEST_F(HeadlessTest, PngRoundTripAndFailuresLeaveNothingBehind) {
  const TemporaryDirectory dir("headless-png");
  std::string path = (dir / "frame.png").string();
  std::vector<uint32_t> pixels = {0x000000, 0xFFFFFF, 0x123456, 0xFF0000, 0x00FF00, 0x0000FF};
  ASSERT_TRUE(headless_write_png(path, pixels, 3, 2));
  std::vector<uint32_t> back;
  int width = 0, height = 0;
  ASSERT_TRUE(headless_read_png(path, &back, &width, &height));
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(back, pixels);

  EXPECT_FALSE(headless_write_png(path, pixels, 4, 2)) << "fewer pixels than the size needs";
  EXPECT_FALSE(headless_write_png(path, pixels, 0, 0));
  EXPECT_FALSE(headless_write_png((dir / "missing" / "x.png").string(), pixels, 3, 2));
  write_file(dir / "text.png", "not a png");
  EXPECT_FALSE(headless_read_png((dir / "text.png").string(), &back, &width, &height));
  EXPECT_FALSE(headless_read_png((dir / "absent.png").string(), &back, &width, &height));
  EXPECT_TRUE(headless_read_png(path, &back, &width, &height)) << "the good file is untouched";

  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.path()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 2) << "no temporary file left";
}

TEST_F(HeadlessTest, ResetBringsEverythingBack) {
  headless_set_screen_size(640, 480);
  headless_advance(1234);
  headless_set_time_limit(2000);
  HWND hwnd = make_window("W");
  HMENU bar = CreateMenu();
  SetMenu(hwnd, bar);
  SetTimer(hwnd, 1, 100, nullptr);
  GetDC(hwnd);
  CreateSolidBrush(RGB(1, 2, 3));
  GlobalAlloc(GMEM_MOVEABLE, 10);
  headless_click(5000, "W", 1, 1);
  PlatformCounters c = headless_counters();
  EXPECT_EQ(c.windows, 1);
  EXPECT_EQ(c.menus, 1);
  EXPECT_EQ(c.timers, 1);
  EXPECT_EQ(c.dcs, 1);
  EXPECT_GE(c.gdi_objects, 1);
  EXPECT_EQ(c.memory_blocks, 1);

  headless_reset();
  c = headless_counters();
  EXPECT_EQ(c.windows, 0);
  EXPECT_EQ(c.menus, 0);
  EXPECT_EQ(c.timers, 0);
  EXPECT_EQ(c.dcs, 0);
  EXPECT_EQ(c.gdi_objects, 0);
  EXPECT_EQ(c.memory_blocks, 0);
  EXPECT_EQ(headless_now(), 0u);
  EXPECT_EQ(headless_pending_input(), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_FALSE(IsWindow(hwnd));
  SetTimer(nullptr, 0, 3000, nullptr);
  WaitMessage();  // the time limit is gone
  EXPECT_EQ(headless_now(), 3000u);
}

// A table whose slot numbers are all taken by live entries refuses the next one rather than
// issue a slot number that spills into the generation; a freed slot is taken again.
TEST(HandleTableTest, RefusesWhenEverySlotNumberIsLiveAndReusesFreedOnes) {
  plat::HandleTable<int> table(1, 2);
  const uintptr_t first = table.add(10), second = table.add(20);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_EQ(table.add(30), 0u);
  EXPECT_EQ(*table.get(first), 10);
  EXPECT_EQ(*table.get(second), 20);
  EXPECT_EQ(table.live(), 2u);
  ASSERT_TRUE(table.remove(first));
  const uintptr_t third = table.add(40);
  ASSERT_NE(third, 0u);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(*table.get(third), 40);
}

// The first object of each kind made after a reset takes the slot of the first one made before
// it; the old handle must still name nothing, and using it must leave the new object alone.
TEST_F(HeadlessTest, NoHandleFromBeforeAResetNamesAnObjectAfterIt) {
  HWND old_window = make_window("Old");
  HMENU old_menu = CreateMenu();
  HGLOBAL old_block = GlobalAlloc(GMEM_MOVEABLE, 10);
  HDC old_dc = CreateCompatibleDC(nullptr);
  HBRUSH old_brush = CreateSolidBrush(RGB(1, 2, 3));
  headless_reset();
  HWND window = make_window("New");
  HMENU menu = CreateMenu();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 20);
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));

  EXPECT_FALSE(IsWindow(old_window));
  EXPECT_FALSE(DestroyWindow(old_window));
  EXPECT_TRUE(IsWindow(window));

  EXPECT_FALSE(AppendMenuA(old_menu, MF_STRING, 7, "Stale"));
  EXPECT_EQ(GetMenuState(menu, 7, MF_BYCOMMAND), UINT(-1)) << "nothing reached the new menu";

  EXPECT_EQ(GlobalSize(old_block), 0u);
  EXPECT_EQ(GlobalFree(old_block), old_block) << "freeing it fails";
  EXPECT_EQ(GlobalSize(block), 20u);

  EXPECT_EQ(SetTextColor(old_dc, RGB(9, 9, 9)), COLORREF(0xFFFFFFFF));
  EXPECT_FALSE(DeleteDC(old_dc));
  EXPECT_EQ(SetTextColor(dc, RGB(0, 0, 0)), RGB(0, 0, 0)) << "the new DC kept its colour";

  EXPECT_FALSE(SelectObject(dc, old_brush));
  EXPECT_FALSE(DeleteObject(old_brush));
  EXPECT_TRUE(SelectObject(dc, brush)) << "the new brush is still there";

  PlatformCounters c = headless_counters();
  EXPECT_EQ(c.windows, 1);
  EXPECT_EQ(c.menus, 1);
  EXPECT_EQ(c.memory_blocks, 1);
  EXPECT_EQ(c.dcs, 1);
  EXPECT_EQ(c.gdi_objects, 1);
}

}  // namespace
