#include "shell/application_core.h"

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

bool ApplicationCore::OpenStore() {
  if (store_.OpenStore(StorePath())) return true;
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
