// korvane-cli's commands on program text: a program as UTF-8 text, and UTF-8
// text tokenised into a program.

#include <fstream>
#include <iostream>
#include <iterator>

#include "shell/cli_commands.h"
#include "shell/item_name_text.h"
#include "link/calculator_records.h"
#include "shell/program_item.h"
#include "storage/folders.h"
#include "storage/item_name.h"
#include "text/editor_text.h"
#include "text/program_renderer.h"

namespace korvane {
namespace {

int PrintText(CliContext& c) {
  const std::string& path = c.request.arguments[0];
  const ItemId id = FindItemByPath(c.core.Store(), path);
  const auto item = id == ROOT_FOLDER_ID ? std::nullopt : c.core.Store().ReadItem(id);
  if (!item) return CliFail(c, "no item " + path);
  if (item->type != ITEM_PROGRAM && item->type != ITEM_TEXT_FM) return CliFail(c, path + " is not a program");
  // As the editor shows it: tokens by their display texts, a line after each display-and-stop.
  const RenderedText rendered = RenderProgram(c.core.Tokens(), item->data, true, RenderOptions{});
  // Every line ends with a line break, so a last empty program line stays visible.
  // The operators come out as the editor's Copy gives them ("+", not a look-alike),
  // which store-text reads back as the same operators.
  c.out << ClipboardTextFromEditorText(EditorTextFromPlain(rendered.plainText)) << '\n';
  return 0;
}

std::optional<std::string> ReadInput(const std::string& file) {
  if (file == "-") return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "/Programs" (in the language of the library): the standard folder of programs.
bool NamesProgramsFolder(CliContext& c, std::string folderPath) {
  while (folderPath.size() > 1 && folderPath.back() == '/') folderPath.pop_back();
  const std::string name = c.core.Languages().Text(StandardFolderNameId(FOLDER_PROGRAMS));
  return NamesEqual(folderPath, "/" + ItemNameToUtf8(name, FOLDER_PROGRAMS));
}

int StoreText(CliContext& c) {
  ItemStore& store = c.core.Store();
  const std::string& path = c.request.arguments[0];
  const auto utf8 = ReadInput(c.request.arguments[1]);
  if (!utf8) return CliFail(c, "cannot read " + c.request.arguments[1]);

  // One program line per input line; the line break that ends the last line adds no empty line.
  std::string text = *utf8;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a byte-order mark some editors write
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  const bool autoCorrect = c.core.Settings().GetSettingInt(SETTING_AUTO_CORRECT) != 0;
  const auto data = c.core.Tokens().TokeniseProgramText(PlainFromEditorText(text), autoCorrect, c.core.Messages());
  if (!data) return 1;  // message 18 named the line; the item is unchanged

  std::lock_guard lock(store.Mutex());
  const ItemId existing = FindItemByPath(store, path);
  if (existing != NO_ITEM && existing != ROOT_FOLDER_ID) {
    const auto header = store.ReadHeader(existing);
    if (!header || (header->type != ITEM_PROGRAM && header->type != ITEM_TEXT_FM))
      return CliFail(c, path + " is not a program");
    return StoreProgramData(store, existing, *data) ? 0 : 1;
  }

  // A new program: the last path component is its name, the rest its folder, which must exist.
  const auto slash = path.find_last_of('/');
  const std::string folderPath = slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
  const std::string nameText = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto name = ItemNameFromUtf8(nameText, ITEM_PROGRAM);
  if (!name || name->empty()) return CliFail(c, "not a program name: " + nameText);
  if (name->size() > MAX_PROGRAM_NAME) return RefuseLongProgramName(c);
  ItemId folder = FindItemByPath(store, folderPath);
  if (folder == NO_ITEM && NamesProgramsFolder(c, folderPath))
    folder = GetStandardFolder(store, c.core.Languages(), FOLDER_PROGRAMS);  // made as new-program makes it
  const auto folderHeader = folder == ROOT_FOLDER_ID ? std::optional<ItemHeader>() : store.ReadHeader(folder);
  if (folder != ROOT_FOLDER_ID && (!folderHeader || !IsFolderType(folderHeader->type)))
    return CliFail(c, "no folder " + folderPath);

  ProgramInfo info;
  info.dataLength = static_cast<std::uint32_t>(data->size());
  info.name = *name;
  const auto infoBytes = ProgramInfoBytes(info);
  const ItemId id = store.CreateItem(*name, std::nullopt, folder, infoBytes, *data, ITEM_PROGRAM);
  if (id == NO_ITEM) return 1;
  c.out << id << '\n';
  return 0;
}

}  // namespace

std::vector<CliCommand> CliTextCommands() {
  return {
      {{"text", "PATH", "print a program or text item as UTF-8 text, one program line per line", 1, 1, {}},
       PrintText},
      {{"store-text", "PATH FILE",
        "tokenise the UTF-8 text of FILE (- for standard input) into the program at PATH, or a new one", 2, 2, {}},
       StoreText},
  };
}

}  // namespace korvane
