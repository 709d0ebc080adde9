#pragma once
// The standard dialogs every window uses, behind an interface so tests can script the answers.

#include <string>

class QWidget;

namespace halvane {

inline constexpr const char* kProgramTitle = "Halvane";

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // A modal message with the critical-stop icon and an OK button, under the program's title.
  virtual void ShowCritical(const std::string& message) = 0;
  // A modal input box. Cancel answers the empty text, as does clearing the box.
  virtual std::string AskText(const std::string& prompt, const std::string& title,
                              const std::string& default_text) = 0;
};

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
  void ShowCritical(const std::string& message) override;
  std::string AskText(const std::string& prompt, const std::string& title,
                      const std::string& default_text) override;

 private:
  QWidget* Owner() const;

  QWidget* parent_;
};

}  // namespace halvane
