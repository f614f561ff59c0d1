#include "emulator/key_faces.h"

#include <algorithm>

namespace korvane {
namespace {

using enum KeyStyle;

constexpr KeyLabel Text(std::string_view text) { return {text, Pictogram::None, {}}; }
constexpr KeyLabel Mark(Pictogram pictogram) { return {{}, pictogram, {}}; }

// Calculator codes: 0x0E assignment arrow, 0x8B superscript 2, 0x99 minus,
// 0xA2 superscript x, 0xA9 multiply, 0xB9 divide, 0xCE theta.
constexpr KeyFace kFaces[] = {
    {79, Function, Text("F1")},
    {69, Function, Text("F2")},
    {59, Function, Text("F3")},
    {49, Function, Text("F4")},
    {39, Function, Text("F5")},
    {29, Function, Text("F6")},

    {78, Shift, Text("SHIFT")},
    {68, Dark, Text("OPTN")},
    {58, Dark, Text("VARS")},
    {48, Dark, Text("MENU")},

    {77, Alpha, Text("ALPHA")},
    {67, Dark, Text("x\x8B")},
    {57, Dark, Text("^")},
    {47, Dark, Text("EXIT")},

    {76, Dark, Text("X,\xCE,T"), 'A'},
    {66, Dark, Text("log"), 'B'},
    {56, Dark, Text("ln"), 'C'},
    {46, Dark, Text("sin"), 'D'},
    {36, Dark, Text("cos"), 'E'},
    {26, Dark, Text("tan"), 'F'},

    {75, Dark, Text("a b/c"), 'G'},
    {65, Dark, {"F", Pictogram::DoubleArrow, "D"}, 'H'},
    {55, Dark, Text("("), 'I'},
    {45, Dark, Text(")"), 'J'},
    {35, Dark, Text(","), 'K'},
    {25, Dark, Text("\x0E"), 'L'},

    {74, Digit, Text("7"), 'M'},
    {64, Digit, Text("8"), 'N'},
    {54, Digit, Text("9"), 'O'},
    {44, Command, Text("DEL")},
    {34, Command, Text("AC/ON")},

    {73, Digit, Text("4"), 'P'},
    {63, Digit, Text("5"), 'Q'},
    {53, Digit, Text("6"), 'R'},
    {43, Digit, Text("\xA9"), 'S'},
    {33, Digit, Text("\xB9"), 'T'},

    {72, Digit, Text("1"), 'U'},
    {62, Digit, Text("2"), 'V'},
    {52, Digit, Text("3"), 'W'},
    {42, Digit, Text("+"), 'X'},
    {32, Digit, Text("\x99"), 'Y'},

    {71, Digit, Text("0"), 'Z'},
    {61, Digit, Text(".")},
    {51, Digit, Text("\xA9" "10\xA2")},
    {41, Digit, Text("(\x99)")},
    {31, Exe, Text("EXE")},

    {28, Dark, Mark(Pictogram::ArrowUp)},
    {38, Dark, Mark(Pictogram::ArrowLeft)},
    {37, Dark, Mark(Pictogram::ArrowDown)},
    {27, Dark, Mark(Pictogram::ArrowRight)},
};

}  // namespace

std::span<const KeyFace> KeyFaces() { return kFaces; }

std::optional<KeyFace> KeyFaceOf(std::uint32_t code) {
  const auto it = std::find_if(std::begin(kFaces), std::end(kFaces), [code](const KeyFace& f) { return f.code == code; });
  if (it == std::end(kFaces)) return std::nullopt;
  return *it;
}

}  // namespace korvane
