#pragma once
// The input loop for an hh:nn:ss time: asks until the answer keeps to the format (and, where
// a zero time makes no sense, is not zero) or is empty.

#include <optional>
#include <string>

#include "control/time_answer.h"
#include "ui/user_dialogs.h"

namespace halvane {

inline constexpr const char* kTimeFormatMessage = "Invalid, comply with the data format properly";

struct TimePrompt {
  std::string first_line;  // the prompt's first line; " (hh:nn:ss) " follows on the next
  std::string title;
  std::string default_text;  // offered on every repetition
  std::string zero_message;  // shown for 00:00:00; empty when a zero time is accepted
};

// nullopt when the user gives up with an empty answer.
std::optional<TimeFields> AskTime(UserDialogs& dialogs, const TimePrompt& prompt);

}  // namespace halvane
