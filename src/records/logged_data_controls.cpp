#include "records/logged_data_controls.h"

namespace halvane {

LoggedDataControls::LoggedDataControls(const ControlContext& context, Panel& panel,
                                       ToolbarCommands& toolbar, TextEditorLauncher& editor,
                                       const std::filesystem::path& records_folder)
    : output_{panel.TempFilePath(), context.dialogs, editor, records_folder,
              [&panel](const std::filesystem::path& kept) {
                panel.ShowNote(
                    QString("Also kept as %1").arg(QString::fromStdString(kept.string())));
              }},
      sd_card_(context, panel, output_),
      flash_memory_(context, panel, output_) {
  toolbar.AddBranch("SD", [this] { sd_card_.ScanSdCard(); });
  toolbar.AddBranch("Memory", [this] { flash_memory_.ReadFlashMemory(); });
}

}  // namespace halvane
