#pragma once
// Writes a record file whole to its path and opens it in the text editor, and keeps a copy in
// the records folder under a name that says what it is; a file that cannot be written is
// reported and the previous one stays as it was.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "ui/text_editor_launcher.h"
#include "ui/user_dialogs.h"

class QWidget;

namespace halvane {

struct RecordFileOutput {
  std::filesystem::path path;
  UserDialogs& dialogs;
  TextEditorLauncher& editor;
  // Where downloads are kept; none are when empty.
  std::filesystem::path records_folder;
  // Says where a download was kept.
  std::function<void(const std::filesystem::path& kept)> show_kept;

  // True when the file was written (and the editor asked to show it); a copy is kept as
  // `kept_name`. What went wrong is reported over `window`, the window the download was
  // started from.
  bool WriteAndOpen(std::string_view text, QWidget& window, const std::string& kept_name) const;
};

}  // namespace halvane
