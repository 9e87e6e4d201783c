// An hour of play on the headless host, in virtual time: the game's own loop with a click or a
// key every few seconds, logging switched on now and then, scripts recorded and played back,
// the seasons cycled. The window system's live objects, DCs and memory blocks, and the
// process's resident memory, must end where they were after the first minute, by which time
// every kind of activity has happened once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main.h"
#include "app/panel.h"
#include "platform/headless.h"
#include "support/drawing_point.h"
#include "support/files.h"

namespace {

constexpr const char* GRAPHICS = "EASEL Graphics";
constexpr uint64_t SECOND = 1000;
constexpr uint64_t MINUTE = 60 * SECOND;
constexpr uint64_t HOUR = 60 * MINUTE;
constexpr int PERIODIC_EVENTS_PER_HOUR = 36000;
constexpr uint64_t INPUT_EVERY = 3 * SECOND;
constexpr uint64_t BLOCK = 10 * MINUTE;  // the special activities repeat in every block
constexpr long RSS_TOLERANCE_KIB = 512;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool ADDRESS_SANITIZER = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool ADDRESS_SANITIZER = true;
#else
constexpr bool ADDRESS_SANITIZER = false;
#endif
#else
constexpr bool ADDRESS_SANITIZER = false;
#endif

long resident_kib() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Usage {
  PlatformCounters counters;
  long resident_kib;
};

Usage usage_now() {
  return {headless_counters(), resident_kib()};
}

std::string describe(const Usage& u) {
  const PlatformCounters& c = u.counters;
  return "gdi objects " + std::to_string(c.gdi_objects) + ", dcs " + std::to_string(c.dcs) +
         ", memory blocks " + std::to_string(c.memory_blocks) + ", windows " +
         std::to_string(c.windows) + ", menus " + std::to_string(c.menus) + ", timers " +
         std::to_string(c.timers) + ", resident " + std::to_string(u.resident_kib) + " KiB";
}

void press(uint64_t at, PanelButton button) {
  headless_click(at, GRAPHICS, client_x(panel_button_x(button)), client_y(panel_button_y(button)));
}
void ctrl(uint64_t at, char letter) {
  headless_ctrl_key(at, GRAPHICS, letter);
}

// The everyday input, one every few seconds, in turn. Keys on the game screen change nothing
// but still melt like any event; the melted screen takes any key but 'z' as the end of the game,
// so a letter is sent only while the snowmen are far from melting.
void everyday_input(uint64_t at, int turn, const GameState& game) {
  static const std::vector<std::function<void(uint64_t, const GameState&)>> inputs = {
      [](uint64_t t, const GameState&) { press(t, BUTTON_FASTER); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_HOPPING); },
      [](uint64_t t, const GameState&) { headless_type(t, GRAPHICS, 'z'); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_ADD_SNOWMAN); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_NEW_COLOR); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_SLOWER); },
      [](uint64_t t, const GameState&) { headless_click(t, GRAPHICS, 400, 100); },  // the scene
      [](uint64_t t, const GameState&) { press(t, BUTTON_GLIDING); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_CHANGE_SIZE); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_STOP); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_SEND_ONE_AWAY); },
      [](uint64_t t, const GameState&) { press(t, BUTTON_GO); },
      [](uint64_t t, const GameState& g) {
        headless_type(t, GRAPHICS, g.snow_size > 5 ? 'a' : 'z');
      },
  };
  inputs[static_cast<size_t>(turn) % inputs.size()](at, game);
}

// What happens once in every block of ten minutes, at these offsets into the block; the first
// block fits in the first minute, so the measurement after it has seen everything once.
struct Activity {
  uint64_t offset;
  std::function<void(uint64_t)> start;
};
const std::vector<Activity>& block_activities() {
  static const std::vector<Activity> activities = {
      {5 * SECOND, [](uint64_t t) { ctrl(t, 'L'); }},   // logging on
      {15 * SECOND, [](uint64_t t) { ctrl(t, 'L'); }},  // and off again
      {20 * SECOND, [](uint64_t t) { ctrl(t, 'R'); }},  // record
      {40 * SECOND, [](uint64_t t) { ctrl(t, 'R'); }},  // stop recording
      {41 * SECOND, [](uint64_t t) { ctrl(t, 'P'); }},  // play it back, at once
      {42 * SECOND, [](uint64_t t) { ctrl(t, 'A'); }},  // a playback halts the animation
      {45 * SECOND, [](uint64_t t) { ctrl(t, 'O'); }},  // one more: the end of the script
      {46 * SECOND, [](uint64_t t) { ctrl(t, 'A'); }},
      {50 * SECOND,
       [](uint64_t t) {
         for (uint64_t i = 0; i < 4; ++i) press(t + i, BUTTON_CHANGE_SEASON);  // round to winter
       }},
  };
  return activities;
}

struct Soak {
  GameState game;
  int periodic_events = 0;
  int inputs = 0;
  uint64_t next_input = INPUT_EVERY;
  size_t next_activity = 0;
  int activities_done = 0;
  uint64_t block_start = 0;
};

// Keeps one input scheduled at all times, so that a wait while the animation is halted ends
// too: the next activity of the block when it comes first, else the next everyday input.
void schedule_input(Soak& soak) {
  if (headless_pending_input() > 0) return;
  const uint64_t now = headless_now();
  const auto& activities = block_activities();
  const uint64_t activity_at = soak.block_start + activities[soak.next_activity].offset;
  if (activity_at <= soak.next_input) {
    activities[soak.next_activity].start(std::max(activity_at, now + 1));
    ++soak.activities_done;
    if (++soak.next_activity == activities.size()) {
      soak.next_activity = 0;
      soak.block_start += BLOCK;
    }
    return;
  }
  const uint64_t at = std::max(soak.next_input, now + 1);
  everyday_input(at, soak.inputs++, soak.game);
  soak.next_input = at + INPUT_EVERY;
}

class SoakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.enter()) << "no working directory for the soak";
    headless_reset();
    headless_set_time_limit(2 * HOUR);
  }
  void TearDown() override {
    EASEL_close();
    headless_reset();
  }

 private:
  TemporaryDirectory dir_{"easel-soak"};
};

}  // namespace

TEST_F(SoakTest, AnHourOfPlayEndsWithTheCountersAndMemoryOfItsFirstMinute) {
  EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  EASEL_logging(0);
  EASEL_clear();
  EASEL_animate(EASEL_ANIM_RUN);
  headless_type(SECOND, GRAPHICS, 'a');
  ASSERT_EQ(show_title_screen(), 1);

  Soak soak;
  init_game_state(soak.game);
  draw_game(soak.game);
  Usage after_first_minute = {};
  bool measured = false;
  while (headless_now() < HOUR || soak.periodic_events < PERIODIC_EVENTS_PER_HOUR) {
    schedule_input(soak);
    play_turn(soak.game);
    ASSERT_EQ(soak.game.done, 0) << "the game ended at " << headless_now() << " ms";
    if (soak.game.last_kind == EASEL_PERIODIC) ++soak.periodic_events;
    if (!measured && headless_now() >= MINUTE) {
      after_first_minute = usage_now();
      measured = true;
    }
  }
  const Usage at_the_end = usage_now();
  std::printf("after the first minute: %s\nafter %d periodic events and %llu ms: %s\n",
              describe(after_first_minute).c_str(), soak.periodic_events,
              static_cast<unsigned long long>(headless_now()), describe(at_the_end).c_str());

  // Every special activity of every block has happened.
  EXPECT_GE(soak.activities_done, 6 * static_cast<int>(block_activities().size()));
  EXPECT_GT(soak.inputs, 1000);
  EXPECT_GT(std::filesystem::file_size("EASEL.SCR"), 0u);  // the last recording
  const PlatformCounters& before = after_first_minute.counters;
  const PlatformCounters& after = at_the_end.counters;
  EXPECT_EQ(after.gdi_objects, before.gdi_objects);
  EXPECT_EQ(after.dcs, before.dcs);
  EXPECT_EQ(after.memory_blocks, before.memory_blocks);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_EQ(after.menus, before.menus);
  EXPECT_EQ(after.timers, before.timers);
  // AddressSanitizer holds freed memory back for a while, so resident memory says nothing there.
  if (!ADDRESS_SANITIZER) {
    EXPECT_LE(at_the_end.resident_kib, after_first_minute.resident_kib + RSS_TOLERANCE_KIB);
  }
}
