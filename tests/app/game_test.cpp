// The game played on the headless host: from WinMain with scheduled input, and turn by turn
// for the melting rule, the melted screen and quitting.
#include <functional>

#include "support.h"

namespace {

int run_game() {
  return WinMain(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
}

// Checks scheduled by on_screen and not yet run; every test ends with none left.
int checks_due = 0;

// Runs the checks inside the next wait, once the frame just drawn is on the screen.
void on_screen(std::function<void()> checks) {
  ++checks_due;
  headless_at(headless_now() + 2, [checks] {
    checks();
    --checks_due;
  });
}
uint64_t soon() {
  return headless_now() + 5;
}

void expect_game_picture() {
  expect_pixel(PANEL_LEFT, 230, FOREST_GREEN);
}

void expect_melted_screen(bool with_easter_egg) {
  expect_pixel(0, 100, ICE_BLUE);
  expect_pixel(PANEL_LEFT, 230, ICE_BLUE);  // no panel
  expect_pixel(-100, 0, BLACK);             // box outline
  expect_pixel(100, 0, BLACK);
  EXPECT_TRUE(ink_in(-85, -6, 80, 8, ICE_BLUE));
  EXPECT_EQ(ink_in(-97, 33, 100, 45, ICE_BLUE), with_easter_egg);
}

// Turn by turn: the checks scheduled on the screen must all have run by the end.
class GameTurnTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    checks_due = 0;
  }
  void TearDown() override { EXPECT_EQ(checks_due, 0) << "screen checks that never ran"; }
};

}  // namespace

TEST_F(GameTest, WholeGameFromTitleToMeltedScreenToExit) {
  int probes = 0;
  auto probe = [&](uint64_t at, std::function<void()> checks) {
    headless_at(at, [checks, &probes] { checks(), ++probes; });
  };
  press_at(20, BUTTON_GO);  // clicks and periodic events leave the title waiting
  probe(40, [] {
    expect_pixel(-250, -100, BLACK);
    expect_pixel(100, -20, WHITE);  // face
    expect_pixel(100, 60, RED);     // hat
    EXPECT_TRUE(ink_in(-180, 201, 100, 230, BLACK));
  });
  headless_type(150, GRAPHICS, 'a');
  probe(170, [] {
    expect_pixel(0, 100, ICE_BLUE);
    expect_pixel(0, -100, WHITE);
    expect_pixel(250, 30, YELLOW);
    expect_pixel(290, 45, WHITE);  // the snowman's head at the right edge
    expect_pixel(285, 68, BLACK);  // and its hat
    expect_game_picture();
  });
  probe(250, [] {
    expect_pixel(282, 45, WHITE);
    expect_pixel(291, 45, ICE_BLUE);
  });                                   // one step
  press_at(330, BUTTON_CHANGE_SEASON);  // spring
  probe(450, [] {
    expect_pixel(0, -100, BROWN);
    expect_game_picture();
  });
  probe(1450, [] { expect_game_picture(); });  // the twelfth event melts the last unit
  probe(1550, [] { expect_melted_screen(false); });
  headless_type(1570, GRAPHICS, 'z');
  probe(1590, [] { expect_melted_screen(true); });
  probe(1650, [] { expect_melted_screen(false); });
  headless_type(1700, GRAPHICS, 'q');

  EXPECT_EQ(run_game(), 0);
  EXPECT_EQ(headless_now(), 1700u);
  EXPECT_EQ(probes, 8);
}

// A quit while the title waits ends the program; waiting on would wait for ever.
TEST_F(GameTest, ClosingTheWindowAtTheTitleEndsTheProgram) {
  headless_close_request(250, GRAPHICS);
  EXPECT_EQ(run_game(), 0);
  EXPECT_EQ(headless_now(), 250u);
}

TEST_F(GameTurnTest, MeltingCountsEventsOutsideWinterWhileSnowmenAreInPlay) {
  open_package();
  GameState game;
  init_game_state(game);
  auto turns = [&](int n) {
    for (int i = 0; i < n; ++i) play_turn(game);
  };
  turns(5);
  EXPECT_EQ(std::tuple(game.snow_size, game.snow_x[0]), std::tuple(12, 245));

  game.season = SEASON_SPRING;
  game.snow_count = 0;
  turns(5);
  EXPECT_EQ(game.snow_size, 12);  // nobody in play keeps the size

  // One step, then the snowmen stop; a key and a click off the panel melt like a step does.
  game.snow_count = 1;
  game.moving = 1;
  headless_type(soon(), GRAPHICS, 'k');
  click_at(soon() + 5, 100, 100);
  turns(12);
  EXPECT_EQ(std::tuple(game.snow_size, game.snow_x[0], game.moving, game.done),
            std::tuple(0, 237, 0, 0));
  on_screen(expect_game_picture);
  turns(1);
  on_screen([] { expect_melted_screen(false); });

  // Sending the last one away brings the game back, where a key ends nothing.
  press_at(soon(), BUTTON_SEND_ONE_AWAY);
  headless_type(soon() + 5, GRAPHICS, 'x');
  turns(2);
  EXPECT_EQ(std::tuple(game.snow_size, game.snow_count, game.done), std::tuple(0, 0, 0));
  on_screen(expect_game_picture);

  // A quit still draws its frame, and melts what is in play once more.
  game.snow_count = 1;
  game.snow_size = 5;
  headless_close_request(soon(), GRAPHICS);
  turns(1);
  EXPECT_EQ(std::tuple(game.last_kind, game.done, game.snow_size), std::tuple(EASEL_QUIT, 1, 4));
}

TEST_F(GameTurnTest, MeltedScreenAnswersKeysAndStillPressesButtons) {
  open_package();
  GameState game;
  init_game_state(game);
  game.season = SEASON_SUMMER;
  game.snow_size = 0;

  headless_type(soon(), GRAPHICS, 'z');
  play_turn(game);
  EXPECT_EQ(std::tuple(game.last_kind, game.done), std::tuple(EASEL_KBD, 0));
  on_screen([] { expect_melted_screen(true); });
  play_turn(game);  // a step
  EXPECT_EQ(game.done, 0);
  on_screen([] { expect_melted_screen(false); });

  // Change Size grows the snowmen to 1 for one game frame, which melts them again.
  press_at(soon(), BUTTON_CHANGE_SIZE);
  play_turn(game);
  EXPECT_EQ(std::tuple(game.last_kind, game.snow_size, game.done), std::tuple(EASEL_MOUSE, 0, 0));
  on_screen(expect_game_picture);
  play_turn(game);
  on_screen([] { expect_melted_screen(false); });

  headless_type(soon(), GRAPHICS, 'Z');
  play_turn(game);
  EXPECT_EQ(game.done, 1);
}
