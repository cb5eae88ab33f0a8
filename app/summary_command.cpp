#include "app/summary_command.h"

namespace sr::app {

void SummaryCommand::Run() {}

}  // namespace sr::app
