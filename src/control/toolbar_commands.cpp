#include "control/toolbar_commands.h"

#include <QAction>

#include "control/comparator_window.h"
#include "control/control_panel.h"
#include "control/meter_answer.h"
#include "control/meter_commands.h"
#include "control/rtc_window.h"
#include "control/time_prompt.h"
#include "live/panel_layout.h"
#include "text/number_text.h"

namespace halvane {

namespace {

constexpr const char* kRecordingTimeTitle = "Input Sampling Time";
constexpr const char* kErasePrompt =
    "1 -- to erase manually recorded data\n\r2 -- to erase automatically recorded data\n\r";

}  // namespace

ToolbarCommands::ToolbarCommands(ControlContext context, QToolBar& toolbar, const PanelLists& lists,
                                 const LiveReading& reading, SubChannelSettings& sub,
                                 QWidget& owner)
    : context_(std::move(context)),
      lists_(lists),
      reading_(reading),
      sub_(sub),
      owner_(owner),
      own_lists_{
          {"RecMode", {lists.ComboRecMode}},
          {"Storage", {lists.ComboDevice}},
          {"Trigger", {lists.ComboTrigger}},
          {"BackLight", {lists.ComboBkLight}},
          {"Plot", {lists.ComboNoItem}},
          {"SD", {lists.ComboSets}},
          {"AC", {lists.ComboMainSubAC, lists.ComboFreq}},
          {"FS", {lists.ComboMainSubFS, lists.ComboTime}},
      } {
  for (QAction* action : toolbar.actions()) {
    const std::string key = action->objectName().toStdString();
    if (!key.empty()) {
      connect(action, &QAction::triggered, this, [this, key] { Click(key); });
    }
  }
}

void ToolbarCommands::Click(const std::string& key) {
  HideOtherLists(key);
  if (key == "RecMode" || key == "Storage" || key == "Trigger") {
    own_lists_[key].front()->show();
  } else if (key == "BackLight") {
    ReadBackLight();
  } else if (key == "AC") {
    ReadSubWeighting(setting::kSubFreqWeighting, kFreqEntries, sub_.SubFreqSetting,
                     lists_.ComboMainSubAC, lists_.ComboFreq, reading_.MainFreqWeighting);
  } else if (key == "FS") {
    ReadSubWeighting(setting::kSubTimeWeighting, kTimeEntries, sub_.SubTimeSetting,
                     lists_.ComboMainSubFS, lists_.ComboTime, reading_.MainTimeWeighting);
  } else if (key == "Period") {
    AskRecordingTime(setting::kReadPeriod, setting::kSetPeriod,
                     "Enter the Measurement Time of recording", "Invalid Measurement Time");
  } else if (key == "Intv") {
    AskRecordingTime(setting::kReadInterval, setting::kSetInterval,
                     "Enter the Sampling TIME of recording", "Invalid Sampling Time");
  } else if (key == "RTC") {
    RTC(context_, &owner_).RunModal();
  } else if (key == "Comparator") {
    OpenComparator(owner_, context_);
  } else if (key == "CtrButton") {
    ControlPanel::Open(owner_, context_);
  } else if (key == "Erase") {
    Erase();
  } else if (const auto branch = branches_.find(key); branch != branches_.end()) {
    branch->second();
  }
}

void ToolbarCommands::HideOtherLists(const std::string& key) {
  for (const auto& [owner_key, lists] : own_lists_) {
    if (owner_key != key) {
      for (QWidget* list : lists) {
        list->hide();
      }
    }
  }
}

void ToolbarCommands::ReadBackLight() {
  PollPause poll_pause(context_.timer1);
  context_.usb.ReceiveReport();
  const int answer = ExchangeSetting(context_.usb, {setting::kBackLight, 0x00})[1];
  if (!MeterAnswered(context_)) {
    return;
  }
  lists_.ComboBkLight->show();
  if (answer >= 1 && answer <= 4) {
    lists_.ComboBkLight->setCurrentIndex(answer - 1);
  }
}

void ToolbarCommands::ReadSubWeighting(std::uint8_t sub_command,
                                       std::span<const std::string_view> letters,
                                       std::string& setting, QComboBox* channel,
                                       QComboBox* weighting, const std::string& main_letter) {
  PollPause poll_pause(context_.timer1);
  context_.usb.ReceiveReport();
  const std::size_t answer = ExchangeSetting(context_.usb, {sub_command, 0x00})[1];
  if (!MeterAnswered(context_)) {
    return;
  }
  if (answer >= 1 && answer <= letters.size()) {
    setting = letters[answer - 1];
  }
  channel->setCurrentText("Main Channel");
  channel->show();
  weighting->show();
  weighting->setEditText(QString::fromStdString(main_letter));
}

void ToolbarCommands::AskRecordingTime(std::uint8_t query, std::uint8_t set, const char* first_line,
                                       const char* zero_message) {
  PollPause poll_pause(context_.timer1);
  context_.usb.ReceiveReport();
  const InputReportBuffer& answer = ExchangeSetting(context_.usb, {query});
  if (!MeterAnswered(context_)) {
    return;
  }
  const std::optional<TimeFields> time =
      AskTime(context_.dialogs, {first_line, kRecordingTimeTitle,
                                 TimeDefaultText(answer[1], answer[2], answer[3]), zero_message});
  if (!time) {
    return;
  }
  ExchangeTimeSetting(context_.usb, set, *time);
  MeterAnswered(context_);
}

// Only an answer that is, blanks aside, exactly the number 1 or 2 erases anything.
void ToolbarCommands::Erase() {
  const std::string answer = context_.dialogs.AskText(kErasePrompt, "Erase Data", "1 or 2");
  const std::optional<double> kind = ReadWholeNumber(answer);
  if (!kind || (*kind != 1 && *kind != 2)) {
    return;
  }
  PollPause poll_pause(context_.timer1);
  context_.usb.ReceiveReport();
  ExchangeSetting(context_.usb, {setting::kErase, static_cast<std::uint8_t>(*kind)});
  MeterAnswered(context_);
}

}  // namespace halvane
