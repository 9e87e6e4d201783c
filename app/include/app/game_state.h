// The snowman game's whole state: one record owned by WinMain for the whole run, and the
// numbers that name the seasons. The game's operations take only the fields they use.
#pragma once

#include <array>
#include <cstdint>

constexpr int MAX_SNOWMEN = 10;

constexpr int32_t SEASON_SPRING = 1;
constexpr int32_t SEASON_SUMMER = 2;
constexpr int32_t SEASON_AUTUMN = 3;
constexpr int32_t SEASON_WINTER = 4;

// One entry per snowman that can be in play; entries from snow_count on are out of play.
using SnowmanArray = std::array<int32_t, MAX_SNOWMEN>;

struct GameState {
  SnowmanArray snow_x;    // x of each snowman's centre line
  SnowmanArray snow_hop;  // 0, or the hop height while the snowmen hop
  int32_t snow_count;     // snowmen in play, 0..MAX_SNOWMEN
  int32_t snow_size;      // size unit (head radius) shared by all snowmen
  int32_t snow_colour;    // colour number of heads and bodies
  int32_t speed;          // units a snowman moves left per step
  int32_t hopping;        // 0 glide, 1 hop
  int32_t moving;         // 1 while the snowmen move on periodic events
  int32_t tick;           // step counter that times the hops
  int32_t night;          // 0 day (the sun moves), 1 night (the moon)
  int32_t sun_x;
  int32_t sun_y;
  int32_t moon_x;
  int32_t moon_y;
  int32_t season;     // SEASON_*
  int32_t done;       // 1 ends the loop after the current turn
  int32_t last_kind;  // kind of the event just received
  int32_t click_x;    // position delivered with the event just received
  int32_t click_y;
  char key;  // character delivered with the event just received, else 0
};
