#include "ui/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace halvane {

// Dialogs open over the window the user is working in, which may be an on-top tool window.
QWidget* QtUserDialogs::Owner() const {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr ? active : parent_;
}

void QtUserDialogs::ShowCritical(const std::string& message) {
  QMessageBox::critical(Owner(), kProgramTitle, QString::fromStdString(message), QMessageBox::Ok);
}

void QtUserDialogs::Report(const std::string& message, QWidget& window) {
  auto* box = new QMessageBox(QMessageBox::Critical, kProgramTitle, QString::fromStdString(message),
                              QMessageBox::Ok, window.window());
  box->setObjectName("Report");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

std::string QtUserDialogs::AskText(const std::string& prompt, const std::string& title,
                                   const std::string& default_text) {
  bool accepted = false;
  const QString answer =
      QInputDialog::getText(Owner(), QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(default_text), &accepted);
  return accepted ? answer.toStdString() : std::string();
}

std::filesystem::path QtUserDialogs::AskOpenFile(const std::string& filter) {
  return QFileDialog::getOpenFileName(Owner(), QString(), QString(), QString::fromStdString(filter))
      .toStdString();
}

namespace {

std::filesystem::path SaveFileName(QWidget* owner, const std::string& title,
                                   const std::string& filter, QFileDialog::Options options) {
  return QFileDialog::getSaveFileName(owner, QString::fromStdString(title), QString(),
                                      QString::fromStdString(filter), nullptr, options)
      .toStdString();
}

}  // namespace

std::filesystem::path QtUserDialogs::AskSaveFile(const std::string& title,
                                                 const std::string& filter) {
  return SaveFileName(Owner(), title, filter, {});
}

std::filesystem::path QtUserDialogs::AskAppendFile(const std::string& title,
                                                   const std::string& filter) {
  return SaveFileName(Owner(), title, filter, QFileDialog::DontConfirmOverwrite);
}

bool QtUserDialogs::SetUpPrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, Owner());
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace halvane
