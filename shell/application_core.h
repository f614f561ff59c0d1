#pragma once
// What both executables hold while they run: the program directory, the
// settings, the language table and the item store, opened in the start-up
// order (settings, then languages, then the store, whose failures are
// reported with translated texts).

#include <memory>
#include <optional>
#include <string>

#include "settings/language_table.h"
#include "settings/message_sink.h"
#include "settings/settings_table.h"
#include "shell/program_directory.h"
#include "storage/item_store.h"
#include "text/calculator_font.h"
#include "text/token_table.h"

namespace korvane {

// Shown after the store's own message when it cannot be opened.
inline constexpr int MSG_STORE_NOT_OPENED = 3;

enum class DamagedStoreChoice { ReadOnly, Salvage, Quit };

// Asks the user what to do with a store whose records could not all be read.
class DamagedStoreHandler {
 public:
  virtual ~DamagedStoreHandler() = default;
  // `keptAs` is where salvaging would keep the damaged file.
  virtual DamagedStoreChoice ChooseForDamagedStore(const StoreDamage& damage, const std::string& storePath,
                                                   const std::string& keptAs) = 0;
};

class ApplicationCore {
 public:
  ApplicationCore(ProgramDirectory directory, MessageSink& messages);
  ~ApplicationCore();

  // settings.xml over the defaults, then the language files with the preferred
  // language from the settings and "English" as the fallback.
  void LoadSettingsAndLanguages();
  // Opens "storage.dat"; on failure shows message 3 after the store's own.
  // Damage is summed up in one message (every problem too when `verbose`);
  // with a handler, the user chooses instead between reading the store as it
  // is, salvaging it (then reopened) and quitting (false, no further message).
  [[nodiscard]] bool OpenStore(DamagedStoreHandler* handler = nullptr, bool verbose = false);
  void CloseStore();
  // The token table, then the large and the small calculator font; each
  // loader reports its own problems and start-up goes on.
  void LoadProgramTextData();

  const ProgramDirectory& Directory() const { return directory_; }
  SettingsTable& Settings() { return settings_; }
  const LanguageTable& Languages() const { return languages_; }
  ItemStore& Store() { return store_; }
  const TokenTable& Tokens() const { return tokens_; }
  const CalculatorFonts& Fonts() const { return fonts_; }
  MessageSink& Messages() { return messages_; }

  std::string StorePath() const { return directory_.UserFile("storage.dat"); }
  std::string SettingsPath() const { return directory_.UserFile(SETTINGS_FILE_NAME); }

 private:
  ProgramDirectory directory_;
  MessageSink& messages_;
  SettingsTable settings_;
  LanguageTable languages_;
  ItemStore store_;
  TokenTable tokens_;
  CalculatorFonts fonts_;
};

}  // namespace korvane
