// The SDL desktop host on a real X server (xvfb_run.sh starts one, without a window manager):
// windows where they were asked for, pictures in their true colours, and raw input from real
// key presses, clicks, close requests and resizes made from outside with xdotool and x11_tool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/host.h"
#include "platform/win32.h"

namespace {

using host::InputEvent;
using host::InputKind;

bool run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

std::string output_of(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    pclose(pipe);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

constexpr unsigned VK_F1_KEY = 0x70;

// Takes input through the host's wait until `done` says so or the time is up.
template <typename Done>
std::vector<InputEvent> collect(Done done, uint64_t within_ms = 60000) {
  std::vector<InputEvent> events;
  const uint64_t limit = host::now_ms() + within_ms;
  while (host::now_ms() < limit) {
    InputEvent event;
    while (host::next_input(&event)) {
      events.push_back(event);
      if (done(event)) return events;
    }
    host::wait(limit);
  }
  return events;
}

class SdlHost : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* why = "";
    ASSERT_TRUE(host::open(&why)) << why;
  }

  // A shown window that the X server has mapped, with the keyboard.
  int open_window(const char* title, int x, int y, int width, int height, bool resizable) {
    const int id = host::create_window(title, x, y, width, height, resizable);
    EXPECT_GT(id, 0);
    host::show_window(id, true);
    xid_ = output_of(std::string("xdotool search --sync --name '^") + title + "$' | head -n 1");
    EXPECT_FALSE(xid_.empty());
    EXPECT_TRUE(run("xdotool windowfocus --sync " + xid_));
    collect([&](const InputEvent& e) { return e.kind == InputKind::FOCUS && e.window == id; });
    return id;
  }

  std::string xid_;
};

TEST_F(SdlHost, WindowsSitWhereAskedAndShowTheirPictureInItsColours) {
  int width = 0, height = 0;
  host::screen_size(&width, &height);
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);

  const int id = open_window("host picture", 40, 30, 200, 100, false);
  std::vector<uint32_t> pixels(200 * 100, 0x00FF0000);
  for (int y = 0; y < 100; ++y) {
    for (int x = 100; x < 200; ++x) pixels[size_t(y) * 200 + size_t(x)] = 0x00336699;
  }
  host::present(id, pixels.data(), 200, 100);
  EXPECT_EQ(output_of("xdotool getwindowgeometry " + xid_ +
                      " | tail -n 2 | tr -s ' ' | "
                      "cut -d' ' -f3 | tr '\\n' ' '"),
            "40,30 200x100");
  const std::string probe =
      "import -window root png:- | convert - -format "
      "'%[fx:int(255*p{X,Y}.r+.5)],%[fx:int(255*p{X,Y}.g+.5)],%[fx:int(255*p{X,Y}.b+.5)]' info:";
  auto colour_at = [&](int x, int y) {
    std::string command = probe;
    for (size_t at; (at = command.find("X,Y")) != std::string::npos;) {
      command.replace(at, 3, std::to_string(x) + "," + std::to_string(y));
    }
    return output_of(command);
  };
  EXPECT_EQ(colour_at(40 + 10, 30 + 10), "255,0,0");
  EXPECT_EQ(colour_at(40 + 199, 30 + 99), "51,102,153");
  host::destroy_window(id);
}

// Key downs, and the characters that came with them or as text, from a run of key presses.
struct Keys {
  std::vector<InputEvent> events;
  std::vector<int> characters;
  InputEvent down(unsigned vk) const {
    for (const InputEvent& e : events) {
      if (e.kind == InputKind::KEY_DOWN && e.vk == vk) return e;
    }
    ADD_FAILURE() << "no key down with virtual key " << vk;
    return InputEvent{};
  }
};

// Presses the keys (xdotool names) and then space, and takes everything up to space's release.
Keys press(int window, const std::string& keys) {
  Keys out;
  EXPECT_TRUE(run("xdotool key " + keys + " space"));
  out.events =
      collect([](const InputEvent& e) { return e.kind == InputKind::KEY_UP && e.vk == VK_SPACE; });
  for (const InputEvent& e : out.events) {
    EXPECT_EQ(e.window, window);
    if ((e.kind == InputKind::KEY_DOWN || e.kind == InputKind::TEXT) && e.ch != 0) {
      out.characters.push_back(e.ch);
    }
  }
  return out;
}

TEST_F(SdlHost, KeysGiveVirtualKeysScanCodesModifiersAndTheirCharacters) {
  const int id = open_window("host keys", 0, 0, 120, 80, false);
  const Keys keys = press(id, "a shift+b ctrl+r Return Escape BackSpace Tab F1 Left");
  // The layout's text only: Ctrl+R, Enter, Esc, Backspace and Tab make their control characters
  // in the window system, not here; Shift, F1 and the arrow make none. Scan codes are USB usages.
  EXPECT_EQ(keys.characters, (std::vector<int>{'a', 'B', ' '}));
  EXPECT_EQ(keys.down('A').scan, 4u);
  EXPECT_EQ(keys.down(VK_RETURN).scan, 40u);
  EXPECT_EQ(keys.down('A').mods, 0u);
  EXPECT_EQ(keys.down('B').mods, host::MOD_SHIFT);
  EXPECT_EQ(keys.down('R').mods, host::MOD_CTRL);
  EXPECT_EQ(keys.down(VK_SHIFT).ch, 0);
  EXPECT_EQ(keys.down(VK_F1_KEY).ch, 0);
  EXPECT_EQ(keys.down(VK_LEFT).ch, 0);
  EXPECT_NE(keys.down('A').scan, keys.down('B').scan);
  EXPECT_NE(keys.down('A').scan, 0u);
  for (const InputEvent& e : keys.events) {
    if (e.kind == InputKind::KEY_UP && e.vk == 'A') {
      EXPECT_EQ(e.scan, keys.down('A').scan);
    }
  }
  host::destroy_window(id);
}

TEST_F(SdlHost, CharactersFollowTheKeyboardLayoutInLatin1) {
  const int id = open_window("host layout", 0, 0, 120, 80, false);
  ASSERT_TRUE(run("setxkbmap fr"));
  // On a French keyboard é is the unshifted 2 key, 'a' sits where 'q' is elsewhere, and the
  // euro sign (AltGr+E) has no Latin-1 code, so it makes no character.
  const Keys keys = press(id, "eacute a EuroSign");
  run("setxkbmap us");
  EXPECT_EQ(keys.characters, (std::vector<int>{233, 'a', ' '}));
  EXPECT_EQ(keys.down('2').ch, 233);
  EXPECT_EQ(keys.down('A').ch, 'a');
  EXPECT_EQ(keys.down('E').ch, 0);
  host::destroy_window(id);
}

TEST_F(SdlHost, ClicksAndMovesComeInWindowCoordinates) {
  const int id = open_window("host mouse", 100, 200, 160, 120, false);
  ASSERT_TRUE(run("xdotool mousemove 130 250 click 1 click 3"));
  const std::vector<InputEvent> events =
      collect([](const InputEvent& e) { return e.kind == InputKind::MOUSE_UP && e.button == 3; });
  std::vector<int> buttons;
  bool moved = false;
  for (const InputEvent& e : events) {
    if (e.kind == InputKind::MOUSE_MOVE) moved = moved || (e.x == 30 && e.y == 50);
    if (e.kind != InputKind::MOUSE_DOWN && e.kind != InputKind::MOUSE_UP) continue;
    EXPECT_EQ(e.window, id);
    EXPECT_EQ(e.x, 30);
    EXPECT_EQ(e.y, 50);
    buttons.push_back(e.kind == InputKind::MOUSE_DOWN ? e.button : -e.button);
  }
  EXPECT_TRUE(moved);
  EXPECT_EQ(buttons, (std::vector<int>{1, -1, 3, -3}));
  host::destroy_window(id);
}

TEST_F(SdlHost, CloseRequestsAndResizesAreReportedAndTheWindowStays) {
  const int id = open_window("host close", 300, 300, 200, 150, true);
  ASSERT_TRUE(run(std::string(X11_TOOL) + " close 'host close'"));
  std::vector<InputEvent> events =
      collect([](const InputEvent& e) { return e.kind == InputKind::CLOSE; });
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, InputKind::CLOSE);
  EXPECT_EQ(events.back().window, id);

  ASSERT_TRUE(run("xdotool windowsize " + xid_ + " 320 240"));
  events = collect([](const InputEvent& e) { return e.kind == InputKind::RESIZE; });
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, InputKind::RESIZE);
  EXPECT_EQ(events.back().width, 320);
  EXPECT_EQ(events.back().height, 240);
  host::destroy_window(id);
}

TEST_F(SdlHost, WaitSleepsUntilTheDeadlineAndWakesForInput) {
  const int id = open_window("host wait", 0, 400, 100, 100, false);
  collect([](const InputEvent&) { return false; }, 300);  // what showing the window brought
  // Never early: each wait ends at or after its deadline, or holds input for next_input.
  for (int i = 0; i < 20; ++i) {
    const uint64_t deadline = host::now_ms() + 7 + uint64_t(i) * 3;
    host::wait(deadline);
    InputEvent event;
    const bool input = host::next_input(&event);
    EXPECT_TRUE(input || host::now_ms() >= deadline) << "wait " << i << " returned early";
    while (host::next_input(&event)) {
    }
  }

  // Input that arrives while the wait sleeps ends it, and the event is kept for next_input.
  ASSERT_TRUE(run("(sleep 0.3; xdotool mousemove 20 420) >/dev/null 2>&1 &"));
  const uint64_t before = host::now_ms();
  bool moved = false;
  while (!moved && host::now_ms() < before + 60000) {
    host::wait(before + 60000);
    InputEvent event;
    while (host::next_input(&event)) moved = moved || event.kind == InputKind::MOUSE_MOVE;
  }
  EXPECT_TRUE(moved);
  EXPECT_LT(host::now_ms(), before + 60000);
  host::destroy_window(id);
}

}  // namespace
