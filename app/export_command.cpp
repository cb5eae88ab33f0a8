#include "app/export_command.h"

namespace sr::app {

void ExportCommand::Run() {}

}  // namespace sr::app
