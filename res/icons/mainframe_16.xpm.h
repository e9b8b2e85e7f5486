// SPDX-License-Identifier: MIT
// The application icon at 16 by 16 pixels: a blue diamond on a transparent background.
#pragma once

// clang-format off
inline const char* const mainframe_16_xpm[] = {
    "16 16 4 1",
    "  c None",
    ". c #000000",
    "+ c #0000FF",
    "@ c #000080",
    "       ..       ",
    "      ....      ",
    "     ..+@..     ",
    "    ..+@@@..    ",
    "   ..+@@@@@..   ",
    "  ..+@@@@@@@..  ",
    " ..+@@@@@@@@@.. ",
    "..+@@@@@@@@@@@..",
    "..+@@@@@@@@@@@..",
    " ..+@@@@@@@@@.. ",
    "  ..+@@@@@@@..  ",
    "   ..+@@@@@..   ",
    "    ..+@@@..    ",
    "     ..+@..     ",
    "      ....      ",
    "       ..       "
};
// clang-format on
