// Windows: creation and its messages, the menu bar rows, showing, painting and erasing, window
// DCs, resizing by the desktop, destruction, refusal of bad handles and arguments, and the
// intersection of rectangles.
#include <climits>
#include <tuple>

#include "internal.h"
#include "platform/window_recorder.h"
#include "testing/raw_input.h"

namespace {

using WindowTest = UserTest;

uint32_t surface_pixel(HWND hwnd, int x, int y) {
  plat::Surface s;
  if (!plat::window_surface(hwnd, &s, nullptr)) return 0xFFFFFFFF;
  return s.pixels[size_t(y) * size_t(s.stride) + size_t(x)];
}

void paint_surface(HWND hwnd, uint32_t pixel) {
  plat::Surface s;
  ASSERT_TRUE(plat::window_surface(hwnd, &s, nullptr));
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.pixels[size_t(y) * size_t(s.stride) + size_t(x)] = pixel;
}

void pump() {
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
}

TEST_F(WindowTest, CreationSendsCreateThenSizeAndMenuRowsLeaveTheClient) {
  // The procedure attaches a menu bar while it is created, as programs do in WM_CREATE.
  message_hook() = [](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_CREATE) SetMenu(h, CreateMenu());
    return false;
  };
  HWND hwnd = make_window("W", 601, 540);
  ASSERT_TRUE(hwnd);
  ASSERT_EQ(received().size(), 3u);
  EXPECT_EQ(received()[0].message, UINT(WM_CREATE));
  EXPECT_EQ(received()[1].message, UINT(WM_SIZE)) << "from SetMenu";
  EXPECT_EQ(received()[1].lparam, MAKELPARAM(601, 540 - plat::MENU_BAR_HEIGHT));
  EXPECT_EQ(received()[2].message, UINT(WM_SIZE));
  EXPECT_EQ(received()[2].wparam, WPARAM(SIZE_RESTORED));
  EXPECT_EQ(received()[2].lparam, MAKELPARAM(601, 540 - plat::MENU_BAR_HEIGHT));
  RECT rc{};
  ASSERT_TRUE(GetClientRect(hwnd, &rc));
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, 601);
  EXPECT_EQ(rc.bottom, 540 - plat::MENU_BAR_HEIGHT);
  EXPECT_NE(GetMenu(hwnd), nullptr);

  // The surface starts filled with the class background.
  register_recorder("Red", CreateSolidBrush(RGB(255, 0, 0)));
  HWND red = CreateWindowA("Red", "R", 0, 0, 0, 50, 40, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(surface_pixel(red, 49, 39), 0xFF0000u);
}

TEST_F(WindowTest, CreationFailures) {
  EXPECT_EQ(CreateWindowA("NoSuchClass", "W", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  message_hook() = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT* r) {
    if (msg != WM_CREATE) return false;
    *r = -1;
    return true;
  };
  EXPECT_EQ(make_window("Refused"), nullptr);
  EXPECT_EQ(received_of(WM_DESTROY).size(), 1u);
  EXPECT_TRUE(received_of(WM_SIZE).empty());
  EXPECT_EQ(headless_counters().windows, 0);
  EXPECT_EQ(headless_find_window("Refused"), nullptr);

  WNDCLASSA wc{};
  wc.lpszClassName = "NoProc";
  EXPECT_EQ(RegisterClassA(&wc), 0) << "no procedure";
  EXPECT_EQ(RegisterClassA(nullptr), 0);
  wc.lpfnWndProc = recording_proc;
  ATOM atom = RegisterClassA(&wc);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(RegisterClassA(&wc), 0) << "already registered";
  message_hook() = nullptr;
  EXPECT_NE(CreateWindowA(MAKEINTRESOURCEA(atom), "ByAtom", 0, 0, 0, 10, 10, nullptr, nullptr,
                          nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowA(MAKEINTRESOURCEA(7), "BadAtom", 0, 0, 0, 10, 10, nullptr, nullptr,
                          nullptr, nullptr),
            nullptr);
}

TEST_F(WindowTest, SizesAreKeptSane) {
  RECT rc{};
  make_window("Registers the class");
  HWND def = CreateWindowA("Recorder", "D", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(GetClientRect(def, &rc));
  EXPECT_GT(rc.right, 100);
  EXPECT_LE(rc.right, 1024);
  EXPECT_GT(rc.bottom, 100);
  EXPECT_LE(rc.bottom, 768);

  HWND huge = make_window("Huge", INT_MAX, 10);
  ASSERT_TRUE(GetClientRect(huge, &rc));
  EXPECT_EQ(rc.right, 8192);
  HWND negative = make_window("Negative", INT_MIN + 1, -5);
  ASSERT_TRUE(GetClientRect(negative, &rc));
  EXPECT_EQ(rc.right, 0);
  EXPECT_EQ(rc.bottom, 0);
  // An empty window can be shown, given a menu, invalidated and painted.
  ShowWindow(negative, SW_SHOW);
  EXPECT_TRUE(SetMenu(negative, CreateMenu()));
  EXPECT_TRUE(InvalidateRect(negative, nullptr, TRUE));
  pump();

  headless_set_screen_size(1280, 800);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(12345), 0);
}

TEST_F(WindowTest, FirstShowMakesTheWindowNeedPaintingOnce) {
  HWND hwnd = make_window("W");
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "never shown: nothing to paint";
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWDEFAULT));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW));
  pump();
  EXPECT_EQ(received_of(WM_PAINT).size(), 1u);
  EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(ShowWindow(hwnd, SW_HIDE));
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWNORMAL));
  pump();
  EXPECT_EQ(received_of(WM_PAINT).size(), 1u) << "showing again keeps the pixels";

  // A hidden window's update area waits until it is shown.
  ShowWindow(hwnd, SW_HIDE);
  InvalidateRect(hwnd, nullptr, FALSE);
  EXPECT_EQ(poll().message, UINT(WM_NULL));
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(poll().message, UINT(WM_PAINT));
}

TEST_F(WindowTest, BeginPaintErasesWithTheClassBrushAndValidates) {
  HWND hwnd = make_window("W", 200, 150);
  SetMenu(hwnd, CreateMenu());
  ShowWindow(hwnd, SW_SHOW);
  pump();
  const int top = plat::MENU_BAR_HEIGHT;
  paint_surface(hwnd, 0x0000FF);
  RECT a{10, 10, 20, 20};
  RECT b{30, 5, 40, 15};
  InvalidateRect(hwnd, &a, TRUE);
  InvalidateRect(hwnd, &b, FALSE);
  MSG m = poll();
  ASSERT_EQ(m.message, UINT(WM_PAINT));
  PAINTSTRUCT ps{};
  ASSERT_TRUE(BeginPaint(hwnd, &ps));
  EXPECT_EQ(ps.rcPaint.left, 10);
  EXPECT_EQ(ps.rcPaint.top, 5);
  EXPECT_EQ(ps.rcPaint.right, 40);
  EXPECT_EQ(ps.rcPaint.bottom, 20);
  EXPECT_FALSE(ps.fErase) << "erased already";
  // As under Wine: the two rectangles are erased, not the rest of their bounding box.
  EXPECT_EQ(surface_pixel(hwnd, 10, top + 10), 0xFFFFFFu);
  EXPECT_EQ(surface_pixel(hwnd, 19, top + 19), 0xFFFFFFu);
  EXPECT_EQ(surface_pixel(hwnd, 39, top + 5), 0xFFFFFFu);
  EXPECT_EQ(surface_pixel(hwnd, 10, top + 5), 0x0000FFu);
  EXPECT_EQ(surface_pixel(hwnd, 39, top + 19), 0x0000FFu);
  EXPECT_EQ(surface_pixel(hwnd, 9, top + 10), 0x0000FFu);
  // The paint DC draws inside the two rectangles only, not in the rest of rcPaint: a fill of the
  // whole client area, a wide line across the gap and a copy over it.
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ old = SelectObject(ps.hdc, green);
  Rectangle(ps.hdc, -5, -5, 300, 300);
  SelectObject(ps.hdc, old);
  DeleteObject(green);
  HPEN wide = CreatePen(PS_SOLID, 5, RGB(255, 0, 0));
  old = SelectObject(ps.hdc, wide);
  MoveToEx(ps.hdc, 0, 12, nullptr);
  LineTo(ps.hdc, 60, 12);
  SelectObject(ps.hdc, old);
  DeleteObject(wide);
  BitBlt(ps.hdc, 0, 0, 200, 30, ps.hdc, 0, 1, SRCCOPY);
  EXPECT_EQ(surface_pixel(hwnd, 12, top + 18), 0x00FF00u);
  EXPECT_EQ(surface_pixel(hwnd, 35, top + 6), 0x00FF00u);
  EXPECT_EQ(surface_pixel(hwnd, 15, top + 12), 0xFF0000u);
  EXPECT_EQ(surface_pixel(hwnd, 35, top + 12), 0xFF0000u);
  for (const auto& [x, y] : {std::pair{10, 5}, {39, 19}, {25, 12}, {25, 10}, {20, 12}, {29, 12}})
    EXPECT_EQ(surface_pixel(hwnd, x, top + y), 0x0000FFu) << x << "," << y;
  EXPECT_EQ(GetPixel(ps.hdc, 25, 12), COLORREF(0xFFFFFFFF)) << "outside the area drawn in";
  EXPECT_EQ(surface_pixel(hwnd, 9, top + 10), 0x0000FFu);
  EXPECT_EQ(surface_pixel(hwnd, 40, top + 10), 0x0000FFu);
  EXPECT_EQ(surface_pixel(hwnd, 20, top + 4), 0x0000FFu);
  EXPECT_EQ(surface_pixel(hwnd, 20, top + 20), 0x0000FFu);
  EXPECT_TRUE(EndPaint(hwnd, &ps));
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "validated";
  // Validating one rectangle leaves the other to paint; validating everything leaves nothing.
  InvalidateRect(hwnd, &a, TRUE);
  InvalidateRect(hwnd, &b, TRUE);
  RECT a_wider{5, 8, 25, 22};
  EXPECT_TRUE(ValidateRect(hwnd, &a_wider));
  RECT box{};
  EXPECT_TRUE(GetUpdateRect(hwnd, &box, FALSE));
  EXPECT_EQ(std::tie(box.left, box.top, box.right, box.bottom),
            std::tie(b.left, b.top, b.right, b.bottom));
  EXPECT_TRUE(ValidateRect(hwnd, nullptr));
  EXPECT_FALSE(GetUpdateRect(hwnd, &box, FALSE));
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "validated";

  // Without erasing nothing is filled; a rectangle beyond every edge covers the client area.
  paint_surface(hwnd, 0x0000FF);
  RECT all{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  InvalidateRect(hwnd, &all, FALSE);
  ASSERT_TRUE(BeginPaint(hwnd, &ps));
  EXPECT_EQ(ps.rcPaint.left, 0);
  EXPECT_EQ(ps.rcPaint.top, 0);
  EXPECT_EQ(ps.rcPaint.right, 200);
  EXPECT_EQ(ps.rcPaint.bottom, 150 - top);
  EXPECT_EQ(surface_pixel(hwnd, 50, top + 50), 0x0000FFu);
  EndPaint(hwnd, &ps);
  RECT inverted{50, 50, 10, 10};
  InvalidateRect(hwnd, &inverted, TRUE);
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "an empty rectangle adds nothing";

  // A hollow class brush erases nothing and leaves fErase for the program.
  register_recorder("Hollow", static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)));
  HWND hollow = CreateWindowA("Hollow", "H", 0, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  paint_surface(hollow, 0x123456);
  ShowWindow(hollow, SW_SHOW);
  ASSERT_TRUE(BeginPaint(hollow, &ps));
  EXPECT_TRUE(ps.fErase);
  EXPECT_EQ(surface_pixel(hollow, 25, 25), 0x123456u);
  EndPaint(hollow, &ps);
}

TEST_F(WindowTest, WindowDcDrawsIntoTheClientAreaOnly) {
  HWND hwnd = make_window("W", 200, 150);
  SetMenu(hwnd, CreateMenu());
  ShowWindow(hwnd, SW_SHOW);
  pump();
  HDC dc = GetDC(hwnd);
  ASSERT_TRUE(dc);
  int objects_before = headless_counters().gdi_objects;
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  SelectObject(dc, green);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  poll();  // presents
  EXPECT_EQ(headless_client_pixel("W", 0, 0), 0x00FF00u);
  EXPECT_EQ(headless_client_pixel("W", 198, 128), 0x00FF00u);
  EXPECT_EQ(headless_client_pixel("W", 200, 0), 0xFFFFFFFFu) << "outside the client area";
  std::vector<uint32_t> frame;
  int width = 0, height = 0;
  ASSERT_TRUE(headless_window_pixels("W", &frame, &width, &height));
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 150);
  for (int y = 0; y < plat::MENU_BAR_HEIGHT; ++y)
    EXPECT_NE(frame[size_t(y) * 200 + 100], 0x00FF00u) << "menu bar row " << y;
  dump_window_if_failed("W");

  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
  EXPECT_TRUE(DeleteObject(green));
  EXPECT_EQ(headless_counters().dcs, 0);
  EXPECT_EQ(headless_counters().gdi_objects, objects_before);
}

TEST_F(WindowTest, PresentingFollowsChangesOncePerPoll) {
  HWND hwnd = make_window("W");
  ShowWindow(hwnd, SW_SHOW);
  pump();
  int count = headless_present_count("W");
  EXPECT_GE(count, 1);
  poll();
  EXPECT_EQ(headless_present_count("W"), count) << "nothing changed";
  plat::window_changed(hwnd);
  plat::window_changed(hwnd);
  poll();
  EXPECT_EQ(headless_present_count("W"), count + 1);

  host::InputEvent expose{};
  expose.kind = host::InputKind::EXPOSE;
  headless_raw_input(0, "W", expose);
  poll();
  EXPECT_EQ(headless_present_count("W"), count + 2) << "lost pixels are shown again";

  ShowWindow(hwnd, SW_HIDE);
  plat::window_changed(hwnd);
  poll();
  EXPECT_EQ(headless_present_count("W"), count + 2) << "hidden windows are not presented";
}

TEST_F(WindowTest, ResizeKeepsOldPixelsAndRepaintsTheClient) {
  HWND hwnd = make_window("W", 100, 80);
  ShowWindow(hwnd, SW_SHOW);
  pump();
  paint_surface(hwnd, 0x0000FF);
  received().clear();
  host::InputEvent resize{};
  resize.kind = host::InputKind::RESIZE;
  resize.width = 150;
  resize.height = 60;
  headless_raw_input(0, "W", resize);
  MSG m = poll();
  ASSERT_EQ(received_of(WM_SIZE).size(), 1u);
  EXPECT_EQ(received_of(WM_SIZE)[0].lparam, MAKELPARAM(150, 60));
  EXPECT_EQ(surface_pixel(hwnd, 99, 59), 0x0000FFu);
  EXPECT_EQ(surface_pixel(hwnd, 100, 10), 0xFFFFFFu);
  ASSERT_EQ(m.message, UINT(WM_PAINT));
  PAINTSTRUCT ps{};
  BeginPaint(hwnd, &ps);
  EXPECT_EQ(ps.rcPaint.right, 150);
  EXPECT_EQ(ps.rcPaint.bottom, 60);
  EndPaint(hwnd, &ps);
}

TEST_F(WindowTest, SetMenuTakesRowsFromTheClientArea) {
  HWND hwnd = make_window("W", 200, 150);
  HMENU first = CreateMenu();
  HMENU second = CreateMenu();
  received().clear();
  ASSERT_TRUE(SetMenu(hwnd, first));
  ASSERT_EQ(received_of(WM_SIZE).size(), 1u);
  EXPECT_EQ(received_of(WM_SIZE)[0].lparam, MAKELPARAM(200, 150 - plat::MENU_BAR_HEIGHT));
  EXPECT_EQ(GetMenu(hwnd), first);
  EXPECT_EQ(plat::window_menu(hwnd), first);
  ASSERT_TRUE(SetMenu(hwnd, second));
  EXPECT_EQ(received_of(WM_SIZE).size(), 1u) << "same client size";
  ASSERT_TRUE(SetMenu(hwnd, nullptr));
  ASSERT_EQ(received_of(WM_SIZE).size(), 2u);
  EXPECT_EQ(received_of(WM_SIZE)[1].lparam, MAKELPARAM(200, 150));
  EXPECT_EQ(GetMenu(hwnd), nullptr);

  EXPECT_FALSE(SetMenu(hwnd, reinterpret_cast<HMENU>(hwnd))) << "not a menu";
  EXPECT_FALSE(SetMenu(nullptr, first));
  EXPECT_TRUE(DrawMenuBar(hwnd));
  EXPECT_FALSE(DrawMenuBar(nullptr));
}

TEST_F(WindowTest, DestroyWindowTakesEverythingAlong) {
  HWND hwnd = make_window("W");
  HWND other = make_window("Other");
  ShowWindow(hwnd, SW_SHOW);
  SetTimer(hwnd, 1, 100, nullptr);
  PostMessageA(hwnd, WM_USER, 0, 0);
  headless_click(0, "W", 5, 5);
  HDC dc = GetDC(hwnd);
  MSG peeked{};
  PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE);  // the click is in the input queue now
  BOOL alive_in_destroy = FALSE;
  BOOL nested_destroy = TRUE;
  message_hook() = [&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_DESTROY) {
      alive_in_destroy = IsWindow(h);
      nested_destroy = DestroyWindow(h);
      PostMessageA(h, WM_USER, 0, 0);
    }
    return false;
  };
  ASSERT_TRUE(DestroyWindow(hwnd));
  EXPECT_TRUE(alive_in_destroy);
  EXPECT_FALSE(nested_destroy);
  EXPECT_EQ(received_of(WM_DESTROY).size(), 1u);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(headless_find_window("W"), nullptr);
  EXPECT_EQ(headless_find_window(nullptr), nullptr) << "no window left to take the keyboard";
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "its messages and input are dropped";
  headless_advance(1000);
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "its timers are gone";

  RECT rc{};
  PAINTSTRUCT ps{};
  EXPECT_FALSE(DestroyWindow(hwnd));
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_FALSE(GetClientRect(hwnd, &rc));
  EXPECT_FALSE(InvalidateRect(hwnd, nullptr, TRUE));
  EXPECT_EQ(GetDC(hwnd), nullptr);
  EXPECT_EQ(BeginPaint(hwnd, &ps), nullptr);
  EXPECT_FALSE(SetMenu(hwnd, nullptr));
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1) << "a DC of a destroyed window can still be released";
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
  PlatformCounters c = headless_counters();
  EXPECT_EQ(c.windows, 0);
  EXPECT_EQ(c.timers, 0);
  EXPECT_EQ(c.dcs, 0);
}

TEST_F(WindowTest, BadHandlesAndPointersAreRefused) {
  HWND hwnd = make_window("W");
  HWND other = make_window("Other");
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  HWND fake = reinterpret_cast<HWND>(block);
  EXPECT_FALSE(IsWindow(fake));
  EXPECT_EQ(GetDC(fake), nullptr);
  EXPECT_FALSE(ShowWindow(fake, SW_SHOW));
  EXPECT_FALSE(GetClientRect(hwnd, nullptr));
  EXPECT_EQ(BeginPaint(hwnd, nullptr), nullptr);
  EXPECT_FALSE(EndPaint(hwnd, nullptr));
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(uintptr_t(1))));

  // ReleaseDC releases only a window DC, and only with its own window.
  HDC memory_dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(ReleaseDC(hwnd, memory_dc), 0);
  EXPECT_TRUE(DeleteDC(memory_dc));
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(ReleaseDC(other, dc), 0);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  EXPECT_EQ(ReleaseDC(hwnd, nullptr), 0);

  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
  EXPECT_EQ(LoadIconA(nullptr, "generic"), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  GlobalFree(block);
}

// Right and bottom edges are excluded, so boxes that only touch share nothing; no common pixel
// gives (0, 0, 0, 0), as a caller that goes on with the result expects.
TEST(IntersectRect, KeepsTheCommonPixelsOrGivesTheEmptyBox) {
  const RECT a{10, 20, 50, 60};
  RECT r{1, 1, 1, 1};
  const RECT b{30, -5, 90, 40}, everything{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  EXPECT_EQ(std::tuple(r.left, r.top, r.right, r.bottom), std::tuple(30, 20, 50, 40));
  r = a;
  EXPECT_TRUE(IntersectRect(&r, &r, &everything));
  EXPECT_EQ(std::tuple(r.left, r.top, r.right, r.bottom), std::tuple(10, 20, 50, 60));

  for (const RECT& none :
       {RECT{50, 20, 70, 60}, RECT{10, 60, 50, 80}, RECT{60, 70, 40, 90}, RECT{20, 30, 20, 40}}) {
    r = RECT{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(&r, &a, &none)) << none.left << ", " << none.top;
    EXPECT_EQ(std::tuple(r.left, r.top, r.right, r.bottom), std::tuple(0, 0, 0, 0));
  }
  r = RECT{1, 1, 1, 1};
  EXPECT_FALSE(IntersectRect(&r, &a, nullptr));
  EXPECT_EQ(r.right, 0);
  EXPECT_FALSE(IntersectRect(nullptr, &a, &a));
}

}  // namespace
