#pragma once
// Opens a record file in the text editor: on Windows Notepad with the file's path on its
// command line, elsewhere the desktop's program for text files. Tests record the launches.

#include <filesystem>
#include <string>

namespace halvane {

class TextEditorLauncher {
 public:
  virtual ~TextEditorLauncher() = default;
  // Starts the editor without waiting for it; false when no editor could be started.
  virtual bool Open(const std::filesystem::path& file) = 0;
};

class DesktopTextEditor : public TextEditorLauncher {
 public:
  bool Open(const std::filesystem::path& file) override;
};

}  // namespace halvane
