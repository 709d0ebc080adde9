#include "sim/setting_commands.h"

#include <array>
#include <chrono>
#include <cstdint>

namespace halvane {

namespace {

using std::chrono::seconds;

// A setting picked from a short list: byte 3 = 1 to `choices` sets it, 0 answers the current
// choice in byte 1.
struct ChoiceSetting {
  std::uint8_t sub_command;
  int choices;
  int (*get)(const MeterState&);
  void (*set)(MeterState&, int choice);
};

constexpr std::array kChoiceSettings{
    ChoiceSetting{0x07, 2, [](const MeterState& s) { return s.storage_is_flash ? 1 : 2; },
                  [](MeterState& s, int choice) { s.storage_is_flash = choice == 1; }},
    ChoiceSetting{0x08, 2, [](const MeterState& s) { return s.record_manually ? 1 : 2; },
                  [](MeterState& s, int choice) { s.record_manually = choice == 1; }},
    ChoiceSetting{0x09, 4, [](const MeterState& s) { return s.backlight; },
                  [](MeterState& s, int choice) { s.backlight = choice; }},
    ChoiceSetting{0x13, 2, [](const MeterState& s) { return s.comparator_enabled ? 2 : 1; },
                  [](MeterState& s, int choice) { s.comparator_enabled = choice == 2; }},
    ChoiceSetting{0x15, 5, [](const MeterState& s) { return s.trigger_mode + 1; },
                  [](MeterState& s, int choice) { s.trigger_mode = choice - 1; }},
    ChoiceSetting{0x18, 3, [](const MeterState& s) { return s.sub_freq_weighting + 1; },
                  [](MeterState& s, int choice) { s.sub_freq_weighting = choice - 1; }},
    ChoiceSetting{0x19, 4, [](const MeterState& s) { return s.sub_time_weighting + 1; },
                  [](MeterState& s, int choice) { s.sub_time_weighting = choice - 1; }},
};

// A duration or time of day: `query` answers hours, minutes and seconds in bytes 1 to 3, `set`
// takes them from bytes 3 to 5, all plain numbers.
struct TimeSetting {
  std::uint8_t query;
  std::uint8_t set;
  seconds MeterState::*value;
  bool zero_allowed;  // a time of day may be midnight; a period or interval may not be empty
};

constexpr std::array kTimeSettings{
    TimeSetting{0x11, 0x12, &MeterState::recording_period, false},
    TimeSetting{0x03, 0x04, &MeterState::sampling_interval, false},
    TimeSetting{0x05, 0x06, &MeterState::trigger_time, true},
};

// A level in a band: byte 3 = 0 answers level and band in bytes 1 and 2; otherwise bytes 3 and 4
// set them.
struct LevelAndBandSetting {
  std::uint8_t sub_command;
  LevelAndBand& (*select)(MeterState&);
};

constexpr std::array kLevelAndBandSettings{
    // One level per level trigger; outside the level trigger modes the first one is meant.
    LevelAndBandSetting{0x16,
                        [](MeterState& s) -> LevelAndBand& {
                          return s.level_triggers[s.trigger_mode == 2 ? 1 : 0];
                        }},
    LevelAndBandSetting{0x14,
                        [](MeterState& s) -> LevelAndBand& { return s.comparator_threshold; }},
};

constexpr std::uint8_t kErase = 0x10;
constexpr int kHighestLevelDb = 140;

void AddChoiceSetting(CommandTable& table, const ChoiceSetting& setting) {
  table.AddSubCommand(kSettingCommandClass, setting.sub_command,
                      [&setting](std::span<const std::uint8_t> report, CommandContext& context) {
                        const int choice = ReportByte(report, 3);
                        if (choice == 0) {
                          context.Answer({setting.get(context.state)});
                          return;
                        }
                        if (choice <= setting.choices) {
                          setting.set(context.state, choice);
                        }
                        context.Acknowledge();
                      });
}

void AddTimeSetting(CommandTable& table, const TimeSetting& setting) {
  table.AddSubCommand(kSettingCommandClass, setting.query,
                      [&setting](std::span<const std::uint8_t>, CommandContext& context) {
                        const auto total = (context.state.*setting.value).count();
                        context.Answer({int(total / 3600), int(total / 60 % 60), int(total % 60)});
                      });
  table.AddSubCommand(kSettingCommandClass, setting.set,
                      [&setting](std::span<const std::uint8_t> report, CommandContext& context) {
                        const int hours = ReportByte(report, 3);
                        const int minutes = ReportByte(report, 4);
                        const int secs = ReportByte(report, 5);
                        const seconds value{hours * 3600 + minutes * 60 + secs};
                        if (hours <= 23 && minutes <= 59 && secs <= 59 &&
                            (setting.zero_allowed || value.count() > 0)) {
                          context.state.*setting.value = value;
                        }
                        context.Acknowledge();
                      });
}

void AddLevelAndBandSetting(CommandTable& table, const LevelAndBandSetting& setting) {
  table.AddSubCommand(kSettingCommandClass, setting.sub_command,
                      [&setting](std::span<const std::uint8_t> report, CommandContext& context) {
                        LevelAndBand& value = setting.select(context.state);
                        const int level = ReportByte(report, 3);
                        const int band = ReportByte(report, 4);
                        if (level == 0) {
                          context.Answer({value.level_db, value.band});
                          return;
                        }
                        if (level <= kHighestLevelDb && band <= kAllPassBand) {
                          value = LevelAndBand{level, band};
                        }
                        context.Acknowledge();
                      });
}

// 1 erases the manual records, 2 the automatic ones; their numbers start again from 0.
void AddErase(CommandTable& table) {
  table.AddSubCommand(kSettingCommandClass, kErase,
                      [](std::span<const std::uint8_t> report, CommandContext& context) {
                        MeterState& state = context.state;
                        switch (ReportByte(report, 3)) {
                          case 1:
                            state.manual_record_number = 0;
                            state.memory_full = false;
                            break;
                          case 2:
                            state.auto_record_number = 0;
                            state.auto_memory_full = false;
                            break;
                          default:
                            break;
                        }
                        context.Acknowledge();
                      });
}

}  // namespace

void AddSettingCommands(CommandTable& table) {
  for (const ChoiceSetting& setting : kChoiceSettings) {
    AddChoiceSetting(table, setting);
  }
  for (const TimeSetting& setting : kTimeSettings) {
    AddTimeSetting(table, setting);
  }
  for (const LevelAndBandSetting& setting : kLevelAndBandSettings) {
    AddLevelAndBandSetting(table, setting);
  }
  AddErase(table);
}

}  // namespace halvane
