#include "app/editing_commands.h"

#include "forms/grid/grid.h"

namespace sr::app {

void EditingCommands::Modify() {}

void EditingCommands::DeleteRow() {}

void EditingCommands::InsertBlankRow() {}

void EditingCommands::Find() {}

void EditingCommands::Copy() { app_.grid().CopySelection(); }

void EditingCommands::Paste() { app_.grid().Paste(); }

void EditingCommands::Sort() {}

}  // namespace sr::app
