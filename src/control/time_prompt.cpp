#include "control/time_prompt.h"

namespace halvane {

std::optional<TimeFields> AskTime(UserDialogs& dialogs, const TimePrompt& prompt) {
  const std::string text = prompt.first_line + "\r\n (hh:nn:ss) ";
  while (true) {
    const std::string answer = dialogs.AskText(text, prompt.title, prompt.default_text);
    if (answer.empty()) {
      return std::nullopt;
    }
    const std::optional<TimeFields> time = ParseTimeAnswer(answer);
    if (!time) {
      dialogs.ShowCritical(std::string(kTimeFormatMessage) + "\r\n");
    } else if (!prompt.zero_message.empty() && *time == TimeFields{}) {
      dialogs.ShowCritical(prompt.zero_message + "\r\n");
    } else {
      return time;
    }
  }
}

}  // namespace halvane
