#pragma once
// Hands the toolbar's "SD" and "Memory" buttons and the set list to their handlers; the record
// files they write go to the main window's temporary record file, and a copy of each is kept in
// `records_folder`, which the main window's status line names.

#include "control/toolbar_commands.h"
#include "records/flash_memory_command.h"
#include "records/sd_card_commands.h"

namespace halvane {

class LoggedDataControls {
 public:
  LoggedDataControls(const ControlContext& context, Panel& panel, ToolbarCommands& toolbar,
                     TextEditorLauncher& editor, const std::filesystem::path& records_folder);

  SdCardCommands& SdCard() { return sd_card_; }
  FlashMemoryCommand& FlashMemory() { return flash_memory_; }

 private:
  RecordFileOutput output_;
  SdCardCommands sd_card_;
  FlashMemoryCommand flash_memory_;
};

}  // namespace halvane
