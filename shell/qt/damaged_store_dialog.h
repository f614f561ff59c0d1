#pragma once
// The one message a damaged store gets at start-up: what was lost, and the
// choice between opening it read-only, salvaging it, and quitting.

#include "settings/text_lookup.h"
#include "shell/application_core.h"

class QWidget;

namespace korvane {

class DamagedStoreDialog : public DamagedStoreHandler {
 public:
  DamagedStoreDialog(QWidget* owner, const TextLookup& texts) : owner_(owner), texts_(texts) {}
  DamagedStoreChoice ChooseForDamagedStore(const StoreDamage& damage, const std::string& storePath,
                                           const std::string& keptAs) override;

 private:
  QWidget* owner_;
  const TextLookup& texts_;
};

}  // namespace korvane
