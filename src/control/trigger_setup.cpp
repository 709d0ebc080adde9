#include "control/trigger_setup.h"

#include <QPushButton>

#include "control/level_band.h"
#include "control/meter_answer.h"
#include "control/meter_commands.h"
#include "control/time_prompt.h"
#include "live/band_labels.h"
#include "ui/qt_text.h"

namespace halvane {

TriggerSetup::TriggerSetup(ControlContext context, const PanelLists& lists, QObject* parent)
    : QObject(parent), context_(std::move(context)), lists_(lists) {
  connect(lists.ComboTrigger, &QComboBox::activated, this, &TriggerSetup::ChooseMode);
  connect(lists.CmdTriggerdBOK, &QPushButton::clicked, this, &TriggerSetup::SendLevelTrigger);
  connect(lists.CmdTriggerdBExit, &QPushButton::clicked, lists.PicTriggerdB, &QWidget::hide);
}

// The mode is the entry's position from 1: 1 "Off" ... 5 "Time".
void TriggerSetup::ChooseMode(int index) {
  const QString entry = lists_.ComboTrigger->itemText(index);
  if (entry == "Exit") {
    lists_.ComboTrigger->hide();
    return;
  }
  PollPause poll_pause(context_.timer1);
  context_.usb.ReceiveReport();
  if (SetMode(index, entry)) {
    context_.usb.ReceiveReport();
  }
  lists_.ComboTrigger->hide();
}

bool TriggerSetup::SetMode(int index, const QString& entry) {
  ExchangeSetting(context_.usb, {setting::kTriggerMode, static_cast<std::uint8_t>(index + 1)});
  if (!MeterAnswered(context_)) {
    return false;
  }
  if (entry == "Off" || entry == "External") {
    lists_.PicTriggerdB->hide();
  } else if (entry == "Trigger Level1" || entry == "Trigger Level2") {
    return ShowLevelTrigger();
  } else if (entry == "Time") {
    return AskTriggerTime();
  }
  return true;
}

// The panel stays open, with the poll running again, until "OK" or "Exit".
bool TriggerSetup::ShowLevelTrigger() {
  const InputReportBuffer& answer = ExchangeSetting(context_.usb, {setting::kTriggerLevel, 0x00});
  if (!MeterAnswered(context_)) {
    return false;
  }
  lists_.PicTriggerdB->show();
  lists_.PicTriggerdB->raise();
  lists_.CombodB->setEditText(QString::number(answer[1]));
  lists_.ComboBand->setEditText(ToQString(BandLabelAt(answer[2])));
  return true;
}

bool TriggerSetup::AskTriggerTime() {
  const InputReportBuffer& answer = ExchangeSetting(context_.usb, {setting::kReadTriggerTime});
  if (!MeterAnswered(context_)) {
    return false;
  }
  const std::optional<TimeFields> time =
      AskTime(context_.dialogs, {"Enter the Trigger TIME for measurement", "Input Trigger Time",
                                 TimeDefaultText(answer[1], answer[2], answer[3]), ""});
  if (!time) {
    return true;
  }
  ExchangeTimeSetting(context_.usb, setting::kSetTriggerTime, *time);
  return MeterAnswered(context_);
}

// A level or band that means nothing is refused before anything goes to the meter; the panel
// stays open for a correction, as it does when the meter is not there.
void TriggerSetup::SendLevelTrigger() {
  PollPause poll_pause(context_.timer1);
  const std::optional<LevelBand> trigger = ReadLevelBand(
      lists_.CombodB->currentText().toStdString(), lists_.ComboBand->currentText().toStdString(),
      ThirdOctaveBandLabels.size(), context_.dialogs);
  if (!trigger) {
    return;
  }
  context_.usb.ReceiveReport();
  ExchangeSetting(context_.usb, {setting::kTriggerLevel, trigger->level, trigger->band});
  if (!MeterAnswered(context_)) {
    return;
  }
  lists_.PicTriggerdB->hide();
}

}  // namespace halvane
