// The package's palette numbers that the game draws with, by their colour names.
#pragma once

constexpr int COLOUR_BLACK = 0;
constexpr int COLOUR_WHITE = 1;
constexpr int COLOUR_RED = 2;
constexpr int COLOUR_GREEN = 3;
constexpr int COLOUR_YELLOW = 5;
constexpr int COLOUR_ICE_BLUE = 11;
constexpr int COLOUR_ORANGE = 13;
constexpr int COLOUR_BROWN = 14;
constexpr int COLOUR_FOREST_GREEN = 19;
