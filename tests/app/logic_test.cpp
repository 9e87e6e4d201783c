// The game's rules without the screen: snowman width, the panel's hit test and buttons, and the
// motion of snowmen, sun and moon.
#include <set>

#include "app/motion.h"
#include "app/panel.h"
#include "app/scene.h"
#include "support.h"

namespace {

struct Fields {
  int32_t moving = 1, hopping = 0, colour = 1, speed = 8, size = 12, count = 1, season = 4;
  bool operator==(const Fields&) const = default;
};

Fields press(Fields f, int32_t y, int32_t x = -250) {
  press_button(x, y, f.moving, f.hopping, f.colour, f.speed, f.size, f.count, f.season);
  return f;
}

}  // namespace

TEST(SnowmanWidth, IsTwoAndAHalfSizesTruncated) {
  EXPECT_EQ(snowman_width(12), 30);
  EXPECT_EQ(snowman_width(5), 12);
  EXPECT_EQ(snowman_width(13), 32);
  EXPECT_EQ(snowman_width(30), 75);
  EXPECT_EQ(snowman_width(0), 0);
  EXPECT_EQ(snowman_width(INT32_MAX), INT32_MAX);
}

TEST(Panel, HitTestIsStrictAndBoundaryLinesBelongToTheLowerRow) {
  EXPECT_EQ(panel_hit(-294, 244), 1);
  EXPECT_EQ(panel_hit(-208, -29), 1);
  for (auto [x, y] : {std::pair{-295, 100}, {-207, 100}, {-250, 245}, {-250, -30}})
    EXPECT_EQ(panel_hit(x, y), 0) << x << ", " << y;

  EXPECT_EQ(press({.moving = 0}, 244).moving, 1);  // Go
  EXPECT_EQ(press({.moving = 0}, 221).moving, 1);
  EXPECT_EQ(press({}, 220).moving, 0);             // Stop
  EXPECT_EQ(press({}, 195).speed, 9);              // Faster
  EXPECT_EQ(press({}, -4).count, 0);               // Send One Away
  EXPECT_EQ(press({}, -5).season, SEASON_SPRING);  // Change Season
  EXPECT_EQ(press({}, -29).season, SEASON_SPRING);
  // The row is truncated toward zero: just above the column (y 246..269) is still "Go".
  EXPECT_EQ(press({.moving = 0}, 246).moving, 1);
  EXPECT_EQ(press({.moving = 0}, 269).moving, 1);
}

TEST(Panel, EachButtonKeepsToItsLimits) {
  EXPECT_EQ(press({.speed = 0}, 150).speed, 0);                  // Slower
  EXPECT_EQ(press({.speed = INT32_MAX}, 180).speed, INT32_MAX);  // Faster
  EXPECT_EQ(press({.hopping = 1}, 130).hopping, 0);              // Gliding
  EXPECT_EQ(press({}, 100).hopping, 1);                          // Hopping
  EXPECT_EQ(press({.colour = 23}, 80).colour, 0);                // New Color
  EXPECT_EQ(press({.size = 29}, 50).size, 30);                   // Change Size
  EXPECT_EQ(press({.size = 30}, 50).size, 5);
  EXPECT_EQ(press({.size = 0}, 50).size, 1);
  EXPECT_EQ(press({.count = 0, .season = 3}, -20).season, 4);  // Change Season

  // Add Snowman: only in winter, at most ten; the first one sets the snowmen moving.
  for (int32_t season : {SEASON_SPRING, SEASON_SUMMER, SEASON_AUTUMN})
    EXPECT_EQ(press({.count = 0, .season = season}, 30), (Fields{.count = 0, .season = season}));
  EXPECT_EQ(press({.count = 10}, 30), (Fields{.count = 10}));
  EXPECT_EQ(press({.moving = 0, .count = 0}, 30), (Fields{.moving = 1, .count = 1}));
  EXPECT_EQ(press({.moving = 0, .count = 3}, 30), (Fields{.moving = 0, .count = 4}));
  EXPECT_EQ(press({.count = 0, .season = 1}, 0), (Fields{.count = 0, .season = 1}));
}

TEST_F(GameTest, PressesOffTheButtonsReportAnErrorAndChangeNothing) {
  open_package();
  for (auto [x, y] : {std::pair{-296, 100}, {-206, 100}, {-250, -30}, {-250, 270}})
    EXPECT_EQ(press({}, y, x), Fields{}) << x << ", " << y;
  present();
  EXPECT_TRUE(ink_in(0, 0, 120, 14, WHITE));
  expect_pixel(-1, 5, WHITE);
}

TEST(Motion, OneSnowmanLapsTheTrackAndHopsEveryEleventhStep) {
  SnowmanArray x, hop;
  x.fill(999);
  hop.fill(7);
  x[0] = 285;
  int32_t tick = 0;
  std::set<int> hop_steps;
  for (int step = 1; step <= 72; ++step) {
    move_snowmen(x, hop, tick, 1, 8, 12, 1);
    if (hop[0] == 35) hop_steps.insert(step);
    if (step == 71) {
      EXPECT_EQ(std::pair(x[0], tick), std::pair(-283, 71));
    }
  }
  EXPECT_EQ(std::pair(x[0], tick), std::pair(285, 0));
  EXPECT_EQ(hop_steps, (std::set<int>{11, 22, 33, 44, 55, 66, 72}));
  EXPECT_EQ(std::pair(x[1], hop[9]), std::pair(999, 7));  // entries out of play untouched
}

TEST(Motion, SnowmenHopTogetherAndWrapWithoutOverflow) {
  SnowmanArray x{285, 285}, hop{};
  int32_t tick = 0;
  for (int step = 1; step <= 33; ++step) {
    move_snowmen(x, hop, tick, 1, 8, 12, 2);
    EXPECT_EQ(hop[0], step % 11 == 0 ? 35 : 0);
    EXPECT_EQ(hop[1], hop[0]);
    if (step == 11) {
      EXPECT_EQ(tick, 22);
    }
  }

  // Faster than the track is wide, up to the largest speed: every step wraps to the edge.
  for (int32_t speed : {571, INT32_MAX}) {
    x = {-285, 100};
    move_snowmen(x, hop, tick, 1, speed, 12, 2);
    EXPECT_EQ(std::tuple(x[0], x[1], tick, hop[1]), std::tuple(285, 285, 0, 35));
  }
  // A track narrowed by a larger size puts a snowman beyond it at its edge.
  move_snowmen(x, hop, tick, 0, 8, 30, 1);
  EXPECT_EQ(std::tuple(x[0], tick, hop[0]), std::tuple(263, 0, 0));
  // With no snowmen nothing changes, not even the tick.
  tick = 5;
  move_snowmen(x, hop, tick, 1, 8, 12, 0);
  EXPECT_EQ(std::tuple(x[0], tick), std::tuple(263, 5));
}

TEST(Motion, StandingSnowmenKeepTheHopRhythmPastTheCounterLimit) {
  SnowmanArray x{0}, hop{};
  int32_t tick = INT32_MAX - 15;
  for (int64_t count = INT32_MAX - 14; count < int64_t{INT32_MAX} + 30; ++count) {
    move_snowmen(x, hop, tick, 1, 0, 12, 1);
    EXPECT_EQ(hop[0], count % 11 == 0 ? 35 : 0) << count;
  }
  EXPECT_EQ(x[0], 0);
}

TEST_F(GameTest, SunAndMoonTakeTurnsAcrossTheSky) {
  open_package();
  int32_t sun_x = 250, sun_y = 35, night = 0, moon_x = 1, moon_y = 1;
  const std::vector<std::pair<int, std::pair<int, int>>> path = {
      {88, {74, 211}}, {89, {72, 211}}, {188, {-126, 211}}, {189, {-128, 209}}, {275, {-300, 37}}};
  for (int step = 1, i = 0; step <= 275; ++step) {
    step_sun(sun_x, sun_y, night, moon_x, moon_y);
    if (step == path[i].first) {
      EXPECT_EQ(std::pair(sun_x, sun_y), path[i++].second) << step;
    }
  }
  EXPECT_EQ(std::tuple(night, moon_x, moon_y), std::tuple(0, 1, 1));
  step_sun(sun_x, sun_y, night, moon_x, moon_y);
  EXPECT_EQ(std::tuple(night, sun_x, sun_y, moon_x, moon_y), std::tuple(1, -302, 35, 250, 35));
  present();
  expect_pixel(0, 100, BLACK);

  step_moon(moon_x, moon_y, night, sun_x, sun_y);
  EXPECT_EQ(std::pair(moon_x, moon_y), std::pair(248, 37));
  for (int step = 2; step <= 276; ++step) step_moon(moon_x, moon_y, night, sun_x, sun_y);
  EXPECT_EQ(std::tuple(night, moon_x, moon_y, sun_x, sun_y), std::tuple(0, -302, 35, 250, 35));
  present();
  expect_pixel(0, 100, ICE_BLUE);
}
