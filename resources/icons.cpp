// Icon 128: the program's window icon, a transponder card with its antenna coil and chip.
#include "resources/ids.h"
#include "resources/tables.h"

namespace kx::res {

namespace {

// clang-format off
const char* const kApplicationXpm[] = {
    "32 32 6 1",
    "  c None",
    ". c #DDEBFA",
    "# c #1F4E8C",
    "o c #2F6DB5",
    "+ c #F0A040",
    "@ c #A85A10",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "  ############################  ",
    " #............................# ",
    " #............................# ",
    " #...oooooooooooooooooooooo...# ",
    " #..o......................o..# ",
    " #..o..oooooooooooooooooo..o..# ",
    " #..o.o..................o.o..# ",
    " #..o.o..oooooooooooooo..o.o..# ",
    " #..o.o.o..............o.o.o..# ",
    " #..o.o.o....@@@@@@....o.o.o..# ",
    " #..o.o.o....@++++@....o.o.o..# ",
    " #..o.o.o....@++++@....o.o.o..# ",
    " #..o.o.o....@@@@@@....o.o.o..# ",
    " #..o.o.o..............o.o.o..# ",
    " #..o.o..oooooooooooooo..o.o..# ",
    " #..o.o..................o.o..# ",
    " #..o..oooooooooooooooooo..o..# ",
    " #..o......................o..# ",
    " #...oooooooooooooooooooooo...# ",
    " #............................# ",
    " #............................# ",
    "  ############################  ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                "};
// clang-format on

}  // namespace

extern const ui::res::IconEntry kApplicationIcon = {icon::kApplication, kApplicationXpm};

}  // namespace kx::res
