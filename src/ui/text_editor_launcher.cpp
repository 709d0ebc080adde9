#include "ui/text_editor_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace halvane {

bool DesktopTextEditor::Open(const std::filesystem::path& file) {
#ifdef Q_OS_WIN
  // The command line "c:\windows\system32\notepad.exe " followed by the path, as it stands.
  QProcess notepad;
  notepad.setProgram("c:\\windows\\system32\\notepad.exe");
  notepad.setNativeArguments(QString::fromStdWString(file.wstring()));
  return notepad.startDetached();
#else
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
#endif
}

}  // namespace halvane
