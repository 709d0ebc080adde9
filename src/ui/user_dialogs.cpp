#include "ui/user_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

namespace halvane {

void QtUserDialogs::ShowCritical(const std::string& message) {
  QMessageBox::critical(parent_, kProgramTitle, QString::fromStdString(message), QMessageBox::Ok);
}

std::string QtUserDialogs::AskText(const std::string& prompt, const std::string& title,
                                   const std::string& default_text) {
  bool accepted = false;
  const QString answer =
      QInputDialog::getText(parent_, QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(default_text), &accepted);
  return accepted ? answer.toStdString() : std::string();
}

}  // namespace halvane
