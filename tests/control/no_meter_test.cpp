// Every command path of the main window stops where an exchange finds no meter: one message,
// nothing sent after the failed exchange, no list, panel or window filled from a reply that
// never came, and the live poll running again. Each path is run with the meter unplugged
// before it starts and with the reply of each of its exchanges in turn lost.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>
#include <algorithm>
#include <optional>

#include "control/control_panel.h"
#include "control/meter_answer.h"
#include "control_fixture.h"

namespace halvane {
namespace {

class NoMeterTest;

struct CommandPath {
  const char* name;
  std::size_t exchanges;  // the reports it sends when the meter answers throughout
  void (NoMeterTest::*run)();
  void (NoMeterTest::*prepare)() = nullptr;  // run first, with the meter there
  const char* filled_from_reply = nullptr;   // a control that only a reply may show
};

struct NoMeterCase {
  CommandPath path;
  std::optional<std::size_t> lost_reply;  // which exchange gets no reply; 0: no meter at all
};

class NoMeterTest : public ControlFixture, public ::testing::WithParamInterface<NoMeterCase> {
 public:
  const PanelLists& Lists() const { return panel.Lists(); }
  void Weighting(QComboBox* channel_list, const char* channel, QComboBox* weighting,
                 const char* letter) {
    Choose(channel_list, channel);
    Choose(weighting, letter);
  }
  void BackLight() { Click("BackLight"); }
  void FrequencyWeight() { Click("AC"); }
  void TimeWeight() { Click("FS"); }
  void Period() {
    dialogs.answers = {"01:00:00"};
    Click("Period");
  }
  void Interval() {
    dialogs.answers = {"00:00:10"};
    Click("Intv");
  }
  void Erase() {
    dialogs.answers = {"2"};
    Click("Erase");
  }
  void BackLightList() { Choose(Lists().ComboBkLight, "1 min"); }
  void DeviceList() { Choose(Lists().ComboDevice, "SD Card"); }
  void RecModeList() { Choose(Lists().ComboRecMode, "Manually"); }
  void SubFrequency() { Weighting(Lists().ComboMainSubAC, "Sub Channel", Lists().ComboFreq, "C"); }
  void SubTime() { Weighting(Lists().ComboMainSubFS, "Sub Channel", Lists().ComboTime, "S"); }
  void MainFrequency() {
    Weighting(Lists().ComboMainSubAC, "Main Channel", Lists().ComboFreq, "Z");
  }
  void MainTime() { Weighting(Lists().ComboMainSubFS, "Main Channel", Lists().ComboTime, "I"); }
  void TriggerExternal() { Choose(Lists().ComboTrigger, "External"); }
  void TriggerLevel() { Choose(Lists().ComboTrigger, "Trigger Level1"); }
  void TriggerTime() {
    dialogs.answers = {"08:30:00"};
    Choose(Lists().ComboTrigger, "Time");
  }
  void TriggerLevelOk() {
    Lists().PicTriggerdB->show();
    Lists().CombodB->setEditText("90");
    Lists().ComboBand->setEditText("1k");
    Lists().CmdTriggerdBOK->click();
  }
  void Comparator() { Click("Comparator"); }
  void ComparatorOk() { panel.findChild<QPushButton*>("CmdOK")->click(); }
  void OpenKeypad() { Click("CtrButton"); }
  void KeypadKey() {
    panel.findChild<ControlPanel*>()->findChild<QPushButton*>("CmdMode")->click();
  }
};

const CommandPath kPaths[] = {
    {"BackLight", 1, &NoMeterTest::BackLight, nullptr, "ComboBkLight"},
    {"AC", 1, &NoMeterTest::FrequencyWeight, nullptr, "ComboFreq"},
    {"FS", 1, &NoMeterTest::TimeWeight, nullptr, "ComboTime"},
    {"Period", 2, &NoMeterTest::Period},
    {"Intv", 2, &NoMeterTest::Interval},
    {"Erase", 1, &NoMeterTest::Erase},
    {"ComboBkLight", 1, &NoMeterTest::BackLightList},
    {"ComboDevice", 1, &NoMeterTest::DeviceList},
    {"ComboRecMode", 1, &NoMeterTest::RecModeList},
    {"SubFreq", 1, &NoMeterTest::SubFrequency},
    {"SubTime", 1, &NoMeterTest::SubTime},
    {"MainFreq", 2, &NoMeterTest::MainFrequency},
    {"MainTime", 3, &NoMeterTest::MainTime},
    {"TriggerExternal", 1, &NoMeterTest::TriggerExternal},
    {"TriggerLevel", 2, &NoMeterTest::TriggerLevel, nullptr, "PicTriggerdB"},
    {"TriggerTime", 3, &NoMeterTest::TriggerTime},
    {"TriggerLevelOk", 1, &NoMeterTest::TriggerLevelOk},
    {"Comparator", 2, &NoMeterTest::Comparator, nullptr, "Comparator"},
    {"ComparatorOk", 2, &NoMeterTest::ComparatorOk, &NoMeterTest::Comparator},
    {"Keypad", 1, &NoMeterTest::KeypadKey, &NoMeterTest::OpenKeypad},
};

void PrintTo(const NoMeterCase& param, std::ostream* out) {
  *out << param.path.name;
}

// Each path with the meter there throughout, then with each of its replies lost in turn.
std::vector<NoMeterCase> EveryPathAtEveryStep() {
  std::vector<NoMeterCase> cases;
  for (const CommandPath& path : kPaths) {
    cases.push_back({path, std::nullopt});
    for (std::size_t lost = 0; lost <= path.exchanges; ++lost) {
      cases.push_back({path, lost});
    }
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<NoMeterCase>& info) {
  const auto& lost = info.param.lost_reply;
  return std::string(info.param.path.name) + (!lost        ? ""
                                              : *lost == 0 ? "_Unplugged"
                                                           : "_ReplyLost" + std::to_string(*lost));
}

// With the meter there, the table's count of exchanges goes out and nothing is said of it.
TEST_P(NoMeterTest, SendsEveryExchangeOrStopsWithOneMessageWhereTheExchangeFoundNoMeter) {
  const auto& [path, lost_reply] = GetParam();
  if (path.prepare != nullptr) {
    (this->*path.prepare)();
  }
  meter.ClearReceivedReports();
  dialogs.shown.clear();
  if (!lost_reply) {
    (this->*path.run)();
    EXPECT_EQ(meter.ReceivedReports().size(), path.exchanges);
    for (const std::string& shown : dialogs.shown) {
      EXPECT_THAT(shown, ::testing::StartsWith("ask: "));
    }
    EXPECT_TRUE(panel.Timer1().isActive());
    return;
  }
  if (*lost_reply == 0) {
    backend.Unplug();
  } else {
    watch.UnplugAfter(*lost_reply);
  }
  (this->*path.run)();
  EXPECT_EQ(meter.ReceivedReports().size(), *lost_reply) << "nothing sent after the failure";
  const std::string message = "message: " + std::string(kMeterNotConnectedMessage);
  EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(), message), 1);
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown.back(), message) << "no dialog after the message";
  EXPECT_TRUE(panel.Timer1().isActive());
  if (path.filled_from_reply != nullptr) {
    const auto* control = panel.findChild<QWidget*>(path.filled_from_reply);
    EXPECT_TRUE(control == nullptr || control->isHidden());
  }
}
INSTANTIATE_TEST_SUITE_P(EveryStep, NoMeterTest, ::testing::ValuesIn(EveryPathAtEveryStep()),
                         CaseName);

}  // namespace
}  // namespace halvane
