// The game's entry and its loop, split into the steps WinMain takes so that tools and tests can
// drive a game turn by turn on an opened package.
#pragma once

#include "app/game_state.h"
#include "easel/easel.h"

// The title screen's large snowman face with its red top hat (also the game's icon).
void draw_title_face();
// Draws the title screen and waits for a key: 1 when one was pressed, 0 when the player quit.
int show_title_screen();
// The state of a new game.
void init_game_state(GameState& game);
// Scene, panel and snowmen, in that order.
void draw_game(const GameState& game);
// One turn of the loop: takes the next event, acts on it and draws the frame that follows.
void play_turn(GameState& game);
// The end screen shown while the snowmen in play have melted.
void draw_melted_screen();

// C linkage, as the EASEL library's main() calls it.
extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                              int show_command);
