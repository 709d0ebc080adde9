#pragma once
// The standard dialogs every window uses, behind an interface so tests can script the answers.

#include <filesystem>
#include <string>

class QPrinter;
class QWidget;

namespace halvane {

inline constexpr const char* kProgramTitle = "Halvane";

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // A modal message with the critical-stop icon and an OK button, under the program's title.
  virtual void ShowCritical(const std::string& message) = 0;
  // A report after the fact, such as a file that could not be written or an editor that did
  // not start: the same icon, button and title, over `window`, but without stopping the live
  // poll or anything else while it is open. By default shown as any other message.
  virtual void Report(const std::string& message, QWidget& /*window*/) { ShowCritical(message); }
  // A modal input box. Cancel answers the empty text, as does clearing the box.
  virtual std::string AskText(const std::string& prompt, const std::string& title,
                              const std::string& default_text) = 0;
  // The open-file and save-file dialogs; `filter` as Qt writes it ("Data Files (*.txt);;...",
  // first filter chosen). The empty path when cancelled. The open-file dialog starts in
  // `folder`, or where the platform chooses when it is empty. A save dialog's answer carries the
  // extension of the filter chosen where the name typed has none of those offered.
  virtual std::filesystem::path AskOpenFile(const std::string& filter,
                                            const std::filesystem::path& folder) = 0;
  virtual std::filesystem::path AskSaveFile(const std::string& title,
                                            const std::string& filter) = 0;
  // A file to append to: the save-file dialog without asking to replace a file that exists.
  virtual std::filesystem::path AskAppendFile(const std::string& title, const std::string& filter) {
    return AskSaveFile(title, filter);
  }
  // The printer dialog, which sets up `printer`; false when cancelled.
  virtual bool SetUpPrinter(QPrinter& printer) = 0;
};

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
  void ShowCritical(const std::string& message) override;
  void Report(const std::string& message, QWidget& window) override;
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& default_text) override;
  std::filesystem::path AskOpenFile(const std::string& filter,
                                    const std::filesystem::path& folder) override;
  std::filesystem::path AskSaveFile(const std::string& title, const std::string& filter) override;
  std::filesystem::path AskAppendFile(const std::string& title, const std::string& filter) override;
  bool SetUpPrinter(QPrinter& printer) override;

 private:
  QWidget* Owner() const;

  QWidget* parent_;
};

// The file a save dialog's answer names: `typed` as it stands when its extension is one of
// those `filters` offer (in any case), else `typed` with the extension of `chosen_filter` added
// ("CSV values (*.csv)" adds ".csv"; a filter without one, such as "All Files (*)", adds none).
std::filesystem::path FileOfSaveChoice(const std::filesystem::path& typed,
                                       const std::string& filters,
                                       const std::string& chosen_filter);

}  // namespace halvane
