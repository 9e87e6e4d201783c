// VIRTUAL CHILLY!!: the entry, the title screen, the game loop with its melting rule and the
// melted screen. The whole picture is rebuilt after every event: scene, panel, snowmen.
#include "app/main.h"

#include "app/motion.h"
#include "app/palette.h"
#include "app/panel.h"
#include "app/scene.h"

namespace {

constexpr int32_t START_SIZE = 12;

void act_on_event(GameState& game) {
  switch (game.last_kind) {
    case EASEL_MOUSE:
      if (panel_hit(game.click_x, game.click_y)) {
        press_button(game.click_x, game.click_y, game.moving, game.hopping, game.snow_colour,
                     game.speed, game.snow_size, game.snow_count, game.season);
      }
      break;
    case EASEL_PERIODIC:
      if (game.moving) {
        move_snowmen(game.snow_x, game.snow_hop, game.tick, game.hopping, game.speed,
                     game.snow_size, game.snow_count);
      }
      // The sky moves whether or not the snowmen do.
      if (game.night == 0) {
        step_sun(game.sun_x, game.sun_y, game.night, game.moon_x, game.moon_y);
      } else {
        step_moon(game.moon_x, game.moon_y, game.night, game.sun_x, game.sun_y);
      }
      // Out of winter the snowmen make at most one step after "Go".
      if (game.season != SEASON_WINTER) game.moving = 0;
      break;
    case EASEL_QUIT:
      game.done = 1;
      break;
    default:
      break;
  }
}

// The melted screen is no mode of its own: it is what a frame shows while the snowmen in play
// have size 0. Every event still acts on the game underneath.
void draw_frame(GameState& game) {
  if (game.snow_size > 0 || game.snow_count == 0) {
    draw_game(game);
    // Melting counts events, after the picture was drawn at the old size.
    if (game.season != SEASON_WINTER && game.snow_size > 0 && game.snow_count > 0) {
      --game.snow_size;
    }
    return;
  }
  draw_melted_screen();
  if (game.key == 'z') {
    EASEL_printf_at(COLOUR_BLACK, -97, 31, 15, "GOTTA LOVE EASTER EGGS");
  } else if (game.last_kind == EASEL_KBD) {
    game.done = 1;
  }
}

}  // namespace

void draw_title_face() {
  EASEL_circle(COLOUR_WHITE, 100, -83, 125);  // face
  EASEL_circle(COLOUR_BLACK, 55, -50, 15);    // eyes
  EASEL_circle(COLOUR_BLACK, 135, -50, 15);
  constexpr int MOUTH[8][2] = {{50, -135}, {60, -140},  {70, -143},  {80, -143},
                               {90, -143}, {100, -143}, {110, -140}, {120, -135}};
  for (const auto& dot : MOUTH) EASEL_circle(COLOUR_BLACK, dot[0], dot[1], 3);
  EASEL_triangle(COLOUR_ORANGE, 75, -100, 100, -100, 30, -85, 0);  // nose
  EASEL_rectangle(COLOUR_RED, -10, 22, 210, 32, 0);                // hat brim
  EASEL_rectangle(COLOUR_RED, 45, 32, 155, 102, 0);                // hat crown
}

int show_title_screen() {
  EASEL_rectangle(COLOUR_BLACK, -300, -250, 300, 250, 0);
  EASEL_printf_at(COLOUR_WHITE, -180, 200, 40, "VIRTUAL CHILLY!!");
  EASEL_printf_at(COLOUR_WHITE, -290, 180, 15, "The children have built a snowman");
  EASEL_printf_at(COLOUR_WHITE, -290, 162, 15, "and he has come to life.  He can");
  EASEL_printf_at(COLOUR_WHITE, -290, 144, 15, "magically reproduce and hop.  Just");
  EASEL_printf_at(COLOUR_WHITE, -290, 126, 15, "don't let him melt.  To keep snowmen");
  EASEL_printf_at(COLOUR_WHITE, -290, 108, 15, "from melting send them to the North");
  EASEL_printf_at(COLOUR_WHITE, -290, 90, 15, "Pole before spring comes.");
  EASEL_printf_at(COLOUR_WHITE, -290, 72, 15, "This way you can bring them back");
  EASEL_printf_at(COLOUR_WHITE, -290, 54, 15, "next winter.  If they melt, however,");
  EASEL_printf_at(COLOUR_WHITE, -290, 36, 15, "they're gone forever.");

  draw_title_face();
  EASEL_printf_at(COLOUR_WHITE, -290, -200, 15, "Press a key to continue.");

  // Clicks and periodic events are passed over. A quit ends the wait: once the window is gone
  // nothing else could ever arrive.
  int32_t x = 0;
  int32_t y = 0;
  char key = 0;
  for (;;) {
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_KBD) return 1;
    if (kind == EASEL_QUIT) return 0;
  }
}

void init_game_state(GameState& game) {
  game = GameState{};
  game.snow_size = START_SIZE;
  game.snow_x.fill(300 - snowman_width(START_SIZE) / 2);
  game.snow_hop.fill(0);
  game.snow_count = 1;
  game.snow_colour = COLOUR_WHITE;
  game.speed = 8;
  game.hopping = 0;
  game.moving = 1;
  game.tick = 0;
  game.night = 0;
  game.sun_x = 250;
  game.sun_y = 35;
  game.moon_x = 250;
  game.moon_y = 35;
  game.season = SEASON_WINTER;
  game.done = 0;
}

void draw_game(const GameState& game) {
  draw_scene(game.sun_x, game.sun_y, game.moon_x, game.moon_y, game.season, game.night);
  draw_panel();
  draw_snowmen(game.snow_x, game.snow_hop, game.snow_size, game.snow_colour, game.snow_count);
}

void play_turn(GameState& game) {
  game.last_kind = EASEL_await_event(&game.click_x, &game.click_y, &game.key);
  act_on_event(game);
  draw_frame(game);
}

void draw_melted_screen() {
  EASEL_clear();
  EASEL_rectangle(COLOUR_ICE_BLUE, -300, -250, 300, 250, 0);
  EASEL_rectangle(COLOUR_BLACK, -100, 30, 100, -30, 1);
  EASEL_printf_at(COLOUR_BLACK, -85, -7, 15, "CHILLY HAS MELTED!!");
  EASEL_printf_at(COLOUR_BLACK, 0, -50, 11, "Press a key to exit");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  EASEL_animate(EASEL_ANIM_RUN);

  if (show_title_screen()) {
    EASEL_clear();
    GameState game;
    init_game_state(game);
    draw_game(game);  // the first frame melts nothing
    while (!game.done) play_turn(game);
  }

  EASEL_close();
  return 0;
}
