#include "emulator/key_names.h"

#include <array>

namespace korvane {
namespace {

struct KeyName {
  std::uint32_t code;
  std::string_view name;
};

// Fixed English texts: the keypad's own labels, the cursor keys by direction.
constexpr std::array<KeyName, 50> kKeyNames = {{
    {79, "F1"},      {69, "F2"},         {59, "F3"},   {49, "F4"},     {39, "F5"},     {29, "F6"},
    {78, "SHIFT"},   {68, "OPTN"},       {58, "VARS"}, {48, "MENU"},   {77, "ALPHA"},  {67, "x²"},
    {57, "^"},       {47, "EXIT"},       {76, "X,θ,T"}, {66, "log"},   {56, "ln"},     {46, "sin"},
    {36, "cos"},     {26, "tan"},        {75, "a b/c"}, {65, "F↔D"},   {55, "("},      {45, ")"},
    {35, ","},       {25, "→"},          {74, "7"},    {64, "8"},      {54, "9"},      {44, "DEL"},
    {34, "AC/ON"},   {73, "4"},          {63, "5"},    {53, "6"},      {43, "×"},      {33, "÷"},
    {72, "1"},       {62, "2"},          {52, "3"},    {42, "+"},      {32, "−"},      {71, "0"},
    {61, "."},       {51, "×10^x"},      {41, "(−)"},  {31, "EXE"},    {28, "Up"},     {38, "Left"},
    {37, "Down"},    {27, "Right"},
}};

}  // namespace

std::string_view CalculatorKeyName(std::uint32_t code) {
  for (const KeyName& key : kKeyNames)
    if (key.code == code) return key.name;
  return {};
}

}  // namespace korvane
