#include "ui/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

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

std::filesystem::path QtUserDialogs::AskOpenFile(const std::string& filter,
                                                 const std::filesystem::path& folder) {
  return QFileDialog::getOpenFileName(Owner(), QString(), QString::fromStdString(folder.string()),
                                      QString::fromStdString(filter))
      .toStdString();
}

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::ranges::transform(lower, lower.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The extensions a filter offers, lower case: "PNG image (*.png)" gives ".png".
std::vector<std::string> Extensions(std::string_view filter) {
  std::vector<std::string> extensions;
  for (std::size_t star = filter.find("*."); star != std::string_view::npos;
       star = filter.find("*.", star + 1)) {
    const std::size_t end = filter.find_first_of(" ;)", star);
    extensions.push_back(Lower(filter.substr(star + 1, end - star - 1)));
  }
  return extensions;
}

std::filesystem::path SaveFileName(QWidget* owner, const std::string& title,
                                   const std::string& filter, QFileDialog::Options options) {
  QString chosen;
  const QString typed =
      QFileDialog::getSaveFileName(owner, QString::fromStdString(title), QString(),
                                   QString::fromStdString(filter), &chosen, options);
  return FileOfSaveChoice(typed.toStdString(), filter, chosen.toStdString());
}

}  // namespace

std::filesystem::path FileOfSaveChoice(const std::filesystem::path& typed,
                                       const std::string& filters,
                                       const std::string& chosen_filter) {
  if (typed.empty()) {
    return typed;
  }
  const std::vector<std::string> offered = Extensions(filters);
  const std::string typed_extension = Lower(typed.extension().string());
  const std::vector<std::string> chosen = Extensions(chosen_filter);
  const bool offered_type =
      !typed_extension.empty() && std::ranges::find(offered, typed_extension) != offered.end();
  if (offered_type || chosen.empty()) {
    return typed;
  }
  std::filesystem::path file = typed;
  file += chosen.front();
  return file;
}

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
