// The package on Win32 itself (run under Wine): what it must do there exactly as on Linux, with
// no testing layer, only the package's internals and real Win32 calls. The log's lines, the
// palette's pixels as GDI draws them, the 100 ms timer, and EASEL.SCR written as on Linux and
// read with either line ends. The package is opened once for the whole program; each test leaves
// it halted, not recording and not playing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "easel/log_cases.h"
#include "support/palette.h"

namespace {

std::string read_file(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const char* path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Event {
  int kind;
  int32_t x, y;
  char key;
  bool operator==(const Event&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{kind " << e.kind << " (" << e.x << ", " << e.y << ") key " << int(e.key) << "}";
}

// The newest `count` lines of the log (the ring holds 25).
std::vector<std::string> last_lines(size_t count) {
  const std::vector<std::string> lines = log_lines();
  return {lines.end() - static_cast<std::ptrdiff_t>(std::min(count, lines.size())), lines.end()};
}

Event wait() {
  Event e = {};
  e.kind = EASEL_await_event(&e.x, &e.y, &e.key);
  return e;
}

// Input as Windows delivers it to the graphics window.
void click(int x, int y) {
  PostMessageA(package.graphics_window, WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(package.origin_x + x, package.origin_y - y));
}
void type(unsigned char character) {
  PostMessageA(package.graphics_window, WM_CHAR, character, 1);
}

class Win32Package : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EASEL_open(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  }
  void SetUp() override {
    EASEL_animate(EASEL_ANIM_HALT);
    EASEL_logging(0);
    EASEL_clear();
  }
};

TEST_F(Win32Package, LogsTheSameLinesAsOnLinux) {
  std::vector<std::string> expected = draw_shapes_with_corrections();
  EXPECT_EQ(last_lines(expected.size()), expected);
  expected = draw_text_with_corrections();
  EXPECT_EQ(last_lines(expected.size()), expected);

  // Messages are cut at 1023 characters; the ring keeps the last 25 lines.
  const std::string long_text(3000, 'w');
  EXPECT_EQ(EASEL_printf("%s", long_text.c_str()), 1023);
  EXPECT_EQ(log_lines().back(), long_text.substr(0, 1023));
  for (int i = 1; i <= 30; ++i) EASEL_printf("message %d\n", i);
  const std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.front(), "message 6\n");
}

TEST_F(Win32Package, GdiDrawsThePaletteExactly) {
  for (int colour = 0; colour < COLOUR_COUNT; ++colour) {
    EASEL_rectangle(colour, -20, 20, 20, -20, 0);
    const COLORREF pixel = GetPixel(package.offscreen_dc, device_x(0), device_y(0));
    const uint32_t rgb = (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
    EXPECT_EQ(rgb, PALETTE_PIXELS[colour]) << "colour " << colour;
  }
  EASEL_circle(24, 0, 0, 10);  // an illegal colour is drawn red
  EXPECT_EQ(GetPixel(package.offscreen_dc, device_x(0), device_y(0)), RGB(0xFF, 0, 0));
}

TEST_F(Win32Package, TimerTicksNoSoonerThanEvery100Ms) {
  EASEL_animate(EASEL_ANIM_RUN);
  EXPECT_EQ(wait().kind, EASEL_PERIODIC);
  const ULONGLONG first = GetTickCount64();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(wait().kind, EASEL_PERIODIC);
  // Four periods at least; a busy machine only makes them longer. (Windows' clock counts in
  // steps of up to 16 ms.)
  EXPECT_GE(GetTickCount64() - first, 4u * 100u - 16u);
}

TEST_F(Win32Package, ScriptsRoundTripWithEitherLineEnds) {
  script_start_recording();
  click(10, -20);
  type('q');
  type(233);  // Latin-1
  EXPECT_EQ(wait(), (Event{EASEL_MOUSE, 10, -20, 0}));
  wait();
  wait();
  script_stop_recording();
  // The same bytes as a script recorded on Linux; scripts with CR LF (written in text mode)
  // are read as well.
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_MOUSE(10, -20);\nEASEL_KBD(113);\nEASEL_KBD(-23);\n");

  const std::vector<Event> expected = {
      {EASEL_MOUSE, 10, -20, 0}, {EASEL_KBD, 0, 0, 'q'}, {EASEL_KBD, 0, 0, static_cast<char>(233)}};
  for (const char* line_end : {"\r\n", "\n"}) {
    write_file("EASEL.SCR", std::string("EASEL_MOUSE(10, -20);") + line_end + "EASEL_KBD(113);" +
                                line_end + "EASEL_KBD(-23);" + line_end);
    EASEL_printf("message before the playback\n");
    // A script that has ended stays open at its end: closed here, it is read from its start.
    script_close();
    run_command(IDM_PLAYBACK);
    std::vector<Event> played;
    for (int i = 0; i < 3; ++i) played.push_back(wait());
    EXPECT_EQ(played, expected) << "line ends " << (line_end[0] == '\r' ? "CR LF" : "LF");
    // The end of the script ends the playback with one message; the user is heard again.
    click(1, 2);
    EXPECT_EQ(wait(), (Event{EASEL_MOUSE, 1, 2, 0}));
    EXPECT_EQ(last_lines(2),
              (std::vector<std::string>{"message before the playback\n",
                                        "EOF encountered in script file EASEL.SCR\n"}));
    EXPECT_EQ(package.playing, 0);
  }
}

}  // namespace
