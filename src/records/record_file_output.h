#pragma once
// Writes a record file whole to its path and opens it in the text editor; a file that cannot
// be written is reported and the previous one stays as it was.

#include <filesystem>
#include <string_view>

#include "ui/text_editor_launcher.h"
#include "ui/user_dialogs.h"

class QWidget;

namespace halvane {

struct RecordFileOutput {
  std::filesystem::path path;
  UserDialogs& dialogs;
  TextEditorLauncher& editor;

  // True when the file was written (and the editor asked to show it). What went wrong is
  // reported over `window`, the window the download was started from.
  bool WriteAndOpen(std::string_view text, QWidget& window) const;
};

}  // namespace halvane
