// The headless host tells a test or tool about every present, right after it: which window, and
// the frame is then there to read back. Observing changes nothing of what is presented.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/window_recorder.h"

namespace {

using PresentObserverTest = UserTest;

int times(const std::vector<std::string>& seen, const char* title) {
  return int(std::count(seen.begin(), seen.end(), title));
}

TEST_F(PresentObserverTest, SeesEachPresentWithItsFrameUntilRemoved) {
  std::vector<std::string> seen;
  std::vector<uint32_t> corner;
  headless_set_present_observer([&](const char* title) {
    seen.push_back(title);
    std::vector<uint32_t> pixels;
    int width = 0;
    ASSERT_TRUE(headless_window_pixels(title, &pixels, &width, nullptr));
    corner.push_back(pixels[0]);
  });

  HWND first = make_window("First");
  HWND second = make_window("Second");
  ShowWindow(first, SW_SHOW);
  ShowWindow(second, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  poll();
  EXPECT_GE(times(seen, "First"), 1);
  EXPECT_EQ(times(seen, "First"), headless_present_count("First"));
  EXPECT_EQ(times(seen, "Second"), headless_present_count("Second"));
  EXPECT_EQ(corner.back(), 0xFFFFFFu);

  // A change is presented at the next poll, and the observer reads the new frame.
  HDC dc = GetDC(first);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, 0, 0, 10, 10);
  SelectObject(dc, old_brush);
  ReleaseDC(first, dc);
  const size_t before = seen.size();
  poll();
  EXPECT_EQ(seen.size(), before + 1);
  EXPECT_EQ(seen.back(), "First");
  EXPECT_EQ(corner.back(), 0x000000u);
  // Drawn on again but not yet presented: what was presented stays readable (the host was lent
  // the window's own pixels and is handed them back before they change).
  dc = GetDC(first);
  old_brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, 0, 0, 10, 10);
  SelectObject(dc, old_brush);
  ReleaseDC(first, dc);
  EXPECT_EQ(headless_client_pixel("First", 5, 5), 0x000000u);

  headless_set_present_observer(nullptr);
  const int presents = headless_present_count("Second");
  InvalidateRect(second, nullptr, TRUE);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  poll();
  EXPECT_GT(headless_present_count("Second"), presents);
  EXPECT_EQ(seen.size(), before + 1);
}

}  // namespace
