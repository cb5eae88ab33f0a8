#include "app/tax_commands.h"

namespace sr::app {

void TaxCommands::ShowTaxRateWindow() {}

void TaxCommands::Calculate() {}

void TaxCommands::ShowSettingsWindow() {}

}  // namespace sr::app
