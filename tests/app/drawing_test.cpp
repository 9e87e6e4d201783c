// The picture, probed at points its geometry fixes: snowmen, sky, ground, flower, sun, moon,
// panel and the text lines.
#include "app/panel.h"
#include "app/scene.h"
#include "support.h"

TEST_F(GameTest, SnowmanAtSizeTwelveStandingAndHopping) {
  open_package();
  draw_scene(0, 200, 0, 0, SEASON_WINTER, 0);
  draw_snowman(285, 0, 12, 1);
  draw_snowman(100, 35, 12, 1);
  present();
  // Offsets from the head's centre, which is at height 50 standing and 85 hopping.
  const struct {
    int dx, dy;
    uint32_t colour;
  } parts[] = {{5, -5, WHITE},     {0, 18, BLACK},  {13, 12, BLACK},   {-14, 0, ORANGE},
               {-4, 2, BLACK},     {5, -35, WHITE}, {-16, -24, BROWN}, {0, 26, ICE_BLUE},
               {15, 13, ICE_BLUE}, {3, -20, WHITE}};
  for (const auto& part : parts) {
    expect_pixel(285 + part.dx, 50 + part.dy, part.colour);
    expect_pixel(100 + part.dx, 85 + part.dy, part.colour);
  }
  expect_pixel(285, 85, ICE_BLUE);  // the standing snowman's hat ends below the hopping one's
  expect_pixel(100, 50, WHITE);     // the hopping one's body is where the standing one's head is
}

TEST_F(GameTest, SceneShowsTheSeasonAndTheTimeOfDayBehindThePanel) {
  open_package();
  const struct {
    int32_t season;
    uint32_t ground, petal, centre, stalk;
  } seasons[] = {{SEASON_WINTER, WHITE, ICE_BLUE, ICE_BLUE, ICE_BLUE},
                 {SEASON_SPRING, BROWN, ICE_BLUE, ICE_BLUE, ICE_BLUE},
                 {SEASON_SUMMER, GREEN, YELLOW, BROWN, GREEN},
                 {SEASON_AUTUMN, BROWN, ICE_BLUE, BROWN, GREEN}};
  for (const auto& s : seasons) {
    draw_scene(250, 35, 0, 0, s.season, 0);
    draw_panel();
    present();
    expect_pixel(0, -100, s.ground);
    expect_pixel(0, 5, s.ground);
    expect_pixel(0, 6, ICE_BLUE);
    expect_pixel(-134, 40, s.petal);
    expect_pixel(-149, 40, s.centre);
    expect_pixel(-149, 15, s.stalk);
    expect_pixel(250, 30, YELLOW);  // sun face
    expect_pixel(244, 40, BLACK);   // left lens
    // Each button's outline, and the scene inside it above the label.
    for (int button = 0; button < PANEL_BUTTONS; ++button) {
      const int top = PANEL_TOP - PANEL_ROW_HEIGHT * button;
      expect_pixel(PANEL_LEFT, panel_button_y(button), FOREST_GREEN);
      expect_pixel(PANEL_RIGHT, panel_button_y(button), FOREST_GREEN);
      expect_pixel(-230, top, FOREST_GREEN);
      expect_pixel(-230, top - 2, top > 0 ? ICE_BLUE : s.ground);
    }
  }
  expect_pixel(-149, 25, GREEN);  // the faded flower's stalk reaches its centre
  expect_pixel(-230, PANEL_BOTTOM, FOREST_GREEN);
  EXPECT_TRUE(ink_in(-292, 204, -270, 213, ICE_BLUE));  // "Stop"
  EXPECT_TRUE(ink_in(-292, -21, -220, -12, BROWN));     // "Change Season"

  draw_scene(0, 0, 250, 35, SEASON_WINTER, 1);
  present();
  expect_pixel(0, 100, BLACK);
  expect_pixel(0, -100, WHITE);
  expect_pixel(268, 35, YELLOW);                       // crescent
  expect_pixel(237, 36, BLACK);                        // its shadowed part
  expect_pixel(262, 43, BLACK);                        // eye
  expect_pixel(255, 58, RED);                          // nightcap
  expect_pixel(256, 72, WHITE);                        // bobble
  EXPECT_TRUE(ink_in(-285, -219, -100, -210, WHITE));  // the two text lines
  EXPECT_TRUE(ink_in(-285, -189, -100, -180, WHITE));
  EXPECT_FALSE(ink_in(-285, -203, 100, -192, WHITE));
}
