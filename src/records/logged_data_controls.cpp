#include "records/logged_data_controls.h"

namespace halvane {

LoggedDataControls::LoggedDataControls(const ControlContext& context, Panel& panel,
                                       ToolbarCommands& toolbar, TextEditorLauncher& editor)
    : sd_card_(context, panel, {panel.TempFilePath(), context.dialogs, editor}),
      flash_memory_(context, panel, {panel.TempFilePath(), context.dialogs, editor}) {
  toolbar.AddBranch("SD", [this] { sd_card_.ScanSdCard(); });
  toolbar.AddBranch("Memory", [this] { flash_memory_.ReadFlashMemory(); });
}

}  // namespace halvane
