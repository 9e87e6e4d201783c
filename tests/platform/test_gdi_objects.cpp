// DCs and GDI objects: what a new DC holds, what SelectObject returns, when DeleteObject and
// DeleteDC refuse or release, bitmap limits, bad handles, and the live counters.
#include <climits>

#include "test_gdi_helpers.h"

namespace {

using GdiObjects = GdiTest;

TEST_F(GdiObjects, NewDcHoldsTheDefaults) {
  HDC fresh = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(GetTextColor(fresh), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(fresh), RGB(255, 255, 255));
  EXPECT_EQ(GetBkMode(fresh), OPAQUE);
  POINT position{-1, -1};
  MoveToEx(fresh, 5, 5, &position);
  EXPECT_EQ(position.x, 0);
  EXPECT_EQ(position.y, 0);

  HPEN pen = CreatePen(PS_SOLID, 1, RED);
  HBRUSH brush = CreateSolidBrush(RED);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
  HBITMAP image = CreateCompatibleBitmap(fresh, 4, 4);
  EXPECT_EQ(SelectObject(fresh, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(fresh, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(fresh, font), GetStockObject(SYSTEM_FONT));
  HGDIOBJ first_bitmap = SelectObject(fresh, image);
  EXPECT_TRUE(first_bitmap) << "a memory DC starts with a 1x1 bitmap";
  EXPECT_EQ(SelectObject(fresh, pen), pen);

  // The default pen and brush draw a black outline round a white interior.
  DeleteDC(fresh);
  Rectangle(dc, 10, 10, 20, 20);
  EXPECT_EQ(px(10, 10), 0x000000u);
  EXPECT_EQ(px(15, 15), 0xFFFFFFu);

  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(image));
}

TEST_F(GdiObjects, AttributesChangeAndReportTheOldValue) {
  EXPECT_EQ(SetTextColor(dc, RED), RGB(0, 0, 0));
  EXPECT_EQ(GetTextColor(dc), RED);
  EXPECT_EQ(SetBkColor(dc, BLUE), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(dc), BLUE);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0) << "not a mode";
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

  HDC bad = reinterpret_cast<HDC>(uintptr_t(0x1234));
  EXPECT_EQ(SetTextColor(bad, RED), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetTextColor(bad), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetBkColor(nullptr), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetBkMode(bad), 0);
  EXPECT_EQ(SetBkMode(bad, OPAQUE), 0);
  EXPECT_FALSE(MoveToEx(bad, 0, 0, nullptr));
  EXPECT_FALSE(LineTo(bad, 1, 1));
  EXPECT_FALSE(Rectangle(bad, 0, 0, 5, 5));
  EXPECT_FALSE(Ellipse(nullptr, 0, 0, 5, 5));
  EXPECT_EQ(GetPixel(bad, 0, 0), COLORREF(0xFFFFFFFF));
  EXPECT_FALSE(DeleteDC(bad));
  EXPECT_FALSE(CreateCompatibleDC(bad));
}

TEST_F(GdiObjects, SelectAndDeleteRules) {
  // Stock objects: deleting does nothing and they keep working.
  HGDIOBJ red_pen = CreatePen(PS_SOLID, 1, RED);
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(DeleteObject(GetStockObject(NULL_PEN)));
  EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 0, 3, 3);
  EXPECT_EQ(px(1, 1), 0x000000u);

  // A selected object survives an attempt to delete it.
  SelectObject(dc, red_pen);
  EXPECT_FALSE(DeleteObject(red_pen));
  MoveToEx(dc, 0, 10, nullptr);
  LineTo(dc, 5, 10);
  EXPECT_EQ(px(2, 10), RED_PIXEL);
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), red_pen);
  EXPECT_TRUE(DeleteObject(red_pen));
  EXPECT_FALSE(DeleteObject(red_pen)) << "already gone";
  EXPECT_EQ(SelectObject(dc, red_pen), nullptr) << "stale handle";

  // Bad handles and handles of the wrong kind.
  EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(dc)), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(dc)));
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(1000), nullptr);

  // A bitmap draws into one DC at a time and is freed, not deleted, with its DC.
  HDC other = CreateCompatibleDC(dc);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));
  HBITMAP spare = CreateCompatibleBitmap(dc, 2, 2);
  HGDIOBJ stock = SelectObject(other, spare);
  ASSERT_TRUE(stock);
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_FALSE(DeleteDC(other));
  EXPECT_TRUE(DeleteObject(spare));
  EXPECT_TRUE(DeleteObject(stock)) << "the stock bitmap is never deleted";
  HDC third = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(SelectObject(third, CreateCompatibleBitmap(third, 3, 3)));
}

TEST_F(GdiObjects, WindowDcRefusesBitmaps) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "GdiObjectsWindow";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("GdiObjectsWindow", "G", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr,
                            nullptr, nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  HDC window_dc = GetDC(hwnd);
  ASSERT_TRUE(window_dc);
  HBITMAP free_bitmap = CreateCompatibleBitmap(window_dc, 8, 8);
  EXPECT_TRUE(free_bitmap);
  EXPECT_EQ(SelectObject(window_dc, free_bitmap), nullptr);
  EXPECT_EQ(SelectObject(window_dc, GetStockObject(NULL_PEN)), GetStockObject(BLACK_PEN));
  ReleaseDC(hwnd, window_dc);
  EXPECT_TRUE(DeleteObject(free_bitmap));
}

TEST_F(GdiObjects, BitmapsAreBlackAndBounded) {
  HBITMAP b = CreateCompatibleBitmap(dc, 3, 2);
  ASSERT_TRUE(b);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(headless_bitmap_pixel(b, x, y), 0u);
  EXPECT_FALSE(CreateCompatibleBitmap(dc, 0, 10));
  EXPECT_FALSE(CreateCompatibleBitmap(dc, 10, -1));
  EXPECT_FALSE(CreateCompatibleBitmap(dc, INT_MIN, INT_MIN));
  EXPECT_FALSE(CreateCompatibleBitmap(dc, INT_MAX, INT_MAX));
  EXPECT_FALSE(CreateCompatibleBitmap(dc, 16385, 1));
  EXPECT_FALSE(CreateCompatibleBitmap(dc, 16384, 16384));
  EXPECT_FALSE(CreateCompatibleBitmap(reinterpret_cast<HDC>(uintptr_t(77)), 4, 4));
  EXPECT_TRUE(CreateCompatibleBitmap(nullptr, 16384, 1));
}

TEST_F(GdiObjects, CountersReturnToZeroAfterAFrame) {
  PlatformCounters start = headless_counters();
  EXPECT_EQ(start.dcs, 1);
  EXPECT_EQ(start.gdi_objects, 1);  // the fixture's bitmap; stock objects do not count

  // A frame the way the package draws: an object per command, restored and deleted after it.
  for (int i = 0; i < 20; ++i) {
    HPEN pen = CreatePen(PS_SOLID, i % 4, RGB(i, 0, 0));
    HBRUSH brush =
        i % 2 ? CreateSolidBrush(RGB(0, i, 0)) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    Ellipse(dc, i, i, i + 30, i + 20);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
    HFONT font = CreateFontA(-(i % 5) * 4, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, i, i, "abc", 3);
    SelectObject(dc, old_font);
    DeleteObject(font);
  }
  EXPECT_EQ(headless_counters().gdi_objects, 1);
  EXPECT_EQ(headless_counters().dcs, 1);

  HDC temp = CreateCompatibleDC(dc);
  HBITMAP image = CreateCompatibleBitmap(temp, 5, 5);
  SelectObject(temp, image);
  EXPECT_EQ(headless_counters().dcs, 2);
  EXPECT_EQ(headless_counters().gdi_objects, 2);
  DeleteDC(temp);
  DeleteObject(image);
  DeleteDC(dc);
  DeleteObject(bitmap);
  bitmap = nullptr;
  EXPECT_EQ(headless_counters().dcs, 0);
  EXPECT_EQ(headless_counters().gdi_objects, 0);
}

}  // namespace
