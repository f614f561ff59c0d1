#include "shell/application_core.h"

#include <ctime>

#include "storage/store_salvage.h"

namespace korvane {

ApplicationCore::ApplicationCore(ProgramDirectory directory, MessageSink& messages)
    : directory_(std::move(directory)), messages_(messages), store_(messages) {}

ApplicationCore::~ApplicationCore() { CloseStore(); }

void ApplicationCore::LoadSettingsAndLanguages() {
  settings_.LoadSettings(SettingsPath());
  // The first lookup enters the key (empty) when the file does not hold it.
  const std::string preferred = settings_.GetSetting(SETTING_LANGUAGE);
  languages_.LoadLanguages(directory_.ProgramFile("Language/"), preferred, LANGUAGE_FALLBACK_NAME);
}

bool ApplicationCore::OpenStore(DamagedStoreHandler* handler, bool verbose) {
  const std::string path = StorePath();
  // An installed program's first start makes the user's data directory.
  directory_.MakeHome();
  if (!store_.OpenStore(path)) {
    messages_.ShowMessage(TextMessage(MSG_STORE_NOT_OPENED));
    return false;
  }
  const StoreDamage damage = store_.Damage();
  if (!handler || !damage.RecordsLost()) {
    ReportStoreDamage(damage, path, messages_, verbose);
    return true;
  }
  const std::string keptAs = DamagedStoreName(path, std::time(nullptr));
  switch (handler->ChooseForDamagedStore(damage, path, keptAs)) {
    case DamagedStoreChoice::Quit: store_.CloseStore(); return false;
    case DamagedStoreChoice::ReadOnly: return true;
    case DamagedStoreChoice::Salvage: break;
  }
  const SalvageResult salvaged = SalvageStore(store_, keptAs, messages_);
  if (!salvaged.done) return store_.IsOpen();  // still the damaged store, read-only
  messages_.ShowMessage(SalvagedMessage(salvaged, path));
  if (store_.OpenStore(path)) return true;
  messages_.ShowMessage(TextMessage(MSG_STORE_NOT_OPENED));
  return false;
}

void ApplicationCore::LoadProgramTextData() {
  // The table is read from whichever directory holds it (home first).
  const std::string tokenFile = directory_.ProgramFile("tokens.ptt");
  (void)tokens_.LoadTokenTable(tokenFile.substr(0, tokenFile.size() - std::string("tokens.ptt").size()), messages_);
  fonts_.LoadLargeFont(directory_, messages_);
  fonts_.LoadSmallFont(directory_, messages_);
}

void ApplicationCore::CloseStore() {
  if (store_.IsOpen()) store_.CloseStore();
}

}  // namespace korvane
