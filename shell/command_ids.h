#pragma once
// The commands of the menus, accelerators and toolbar, by their historic ids.

namespace korvane {

enum class CommandId : int {
  Open = 40004,
  TransmitQueue = 40006,
  Rename = 40008,
  Delete = 40010,
  Transmit = 40011,
  Queue = 40012,
  About = 40014,
  Emulate = 40016,
  Save = 40037,
  SaveAsBitmap = 40038,
  Password = 40042,
  Settings = 40043,
  Exit = 40044,
  FindAgain = 40047,
  Find = 40049,
  Refresh = 40051,
  NewProgram = 40052,
  NewFolder = 40054,
  HideFiles = 40055,
  SaveScreenshot = 40058,
  ShowSelected = 4654,
};

// Menu popups (by position) and the string id of each title.
inline constexpr int kMenuTitleIds[] = {67, 68, 69, 163, 70, 162, 71};

struct CommandText {
  CommandId id;
  int textId;
};

// The translated text of each menu command.
inline constexpr CommandText kCommandTexts[] = {
    {CommandId::Open, 73},         {CommandId::Save, 74},          {CommandId::Settings, 75},
    {CommandId::Exit, 76},         {CommandId::NewFolder, 122},    {CommandId::NewProgram, 77},
    {CommandId::Rename, 78},       {CommandId::Delete, 79},        {CommandId::Transmit, 81},
    {CommandId::Queue, 82},        {CommandId::Emulate, 83},       {CommandId::Password, 84},
    {CommandId::SaveAsBitmap, 85}, {CommandId::Find, 86},          {CommandId::FindAgain, 87},
    {CommandId::Refresh, 88},      {CommandId::TransmitQueue, 89}, {CommandId::SaveScreenshot, 72},
    {CommandId::HideFiles, 161},   {CommandId::About, 90},
};

inline int CommandTextId(CommandId id) {
  for (const auto& c : kCommandTexts)
    if (c.id == id) return c.textId;
  return -1;
}

}  // namespace korvane
