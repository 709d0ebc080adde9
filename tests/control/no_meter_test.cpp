// Every command path of the main window stops where an exchange finds no meter: one message,
// nothing sent after the failed exchange, no list, panel or window filled from a reply that
// never came, and the live poll running again. Each path is run with the meter there, with the
// meter unplugged before it starts, and with the reply of each of its exchanges in turn lost.

#include <algorithm>
#include <optional>

#include "control/meter_answer.h"
#include "tests/gui/panel_fixture.h"

namespace halvane::test {
namespace {

class NoMeterTest;

struct CommandPath {
  const char* name;
  std::size_t exchanges;            // the reports it sends when the meter answers throughout
  const char* script;               // as PanelFixture::Run takes it
  const char* prepare = "";         // run first, with the meter there
  const char* filled_from_reply{};  // a control that only a reply may show
};

const CommandPath kPaths[] = {
    {"BackLight", 1, "click BackLight", "", "ComboBkLight"},
    {"AC", 1, "click AC", "", "ComboFreq"},
    {"FS", 1, "click FS", "", "ComboTime"},
    {"Period", 2, "answer 01:00:00; click Period"},
    {"Intv", 2, "answer 00:00:10; click Intv"},
    {"Erase", 1, "answer 2; click Erase"},
    {"ComboBkLight", 1, "choose ComboBkLight 1 min"},
    {"ComboDevice", 1, "choose ComboDevice SD Card"},
    {"ComboRecMode", 1, "choose ComboRecMode Manually"},
    {"SubFreq", 1, "choose ComboMainSubAC Sub Channel; choose ComboFreq C"},
    {"SubTime", 1, "choose ComboMainSubFS Sub Channel; choose ComboTime S"},
    {"MainFreq", 2, "choose ComboMainSubAC Main Channel; choose ComboFreq Z"},
    {"MainTime", 3, "choose ComboMainSubFS Main Channel; choose ComboTime I"},
    {"TriggerExternal", 1, "choose ComboTrigger External"},
    {"TriggerLevel", 2, "choose ComboTrigger Trigger Level1", "", "PicTriggerdB"},
    {"TriggerTime", 3, "answer 08:30:00; choose ComboTrigger Time"},
    {"TriggerLevelOk", 1,
     "show PicTriggerdB; type CombodB 90; type ComboBand 1k; "
     "press CmdTriggerdBOK"},
    {"Comparator", 2, "click Comparator", "", "Comparator"},
    {"ComparatorOk", 2, "press CmdOK", "click Comparator"},
    {"Keypad", 1, "press CmdMode", "click CtrButton"},
};

struct NoMeterCase {
  CommandPath path;
  std::optional<std::size_t> lost_reply;  // which exchange gets no reply; 0: no meter at all
};

class NoMeterTest : public PanelFixture, public ::testing::WithParamInterface<NoMeterCase> {
 protected:
  NoMeterTest() { Connect(); }
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
  Run(path.prepare);
  meter.ClearReceivedReports();
  dialogs.shown.clear();
  if (!lost_reply) {
    Run(path.script);
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
    unplug_after = *lost_reply;
  }
  Run(path.script);
  EXPECT_EQ(meter.ReceivedReports().size(), *lost_reply) << "nothing sent after the failure";
  const std::string message = "message: " + std::string(kMeterNotConnectedMessage);
  EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(), message), 1);
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown.back(), message) << "no dialog after the message";
  EXPECT_TRUE(panel.Timer1().isActive());
  if (path.filled_from_reply != nullptr) {
    const auto* control = Find(path.filled_from_reply);
    EXPECT_TRUE(control == nullptr || control->isHidden());
  }
}
INSTANTIATE_TEST_SUITE_P(EveryStep, NoMeterTest, ::testing::ValuesIn(EveryPathAtEveryStep()),
                         CaseName);

}  // namespace
}  // namespace halvane::test
