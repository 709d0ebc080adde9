#pragma once
// Framing of the key and setting commands: byte 0 the report ID 0, byte 1 the class, then the
// payload. Bytes behind the payload are left as the previous command left them.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "control/time_answer.h"
#include "link/reports.h"
#include "link/usb.h"

namespace halvane {

inline constexpr std::uint8_t kKeyClass = 0x40;
inline constexpr std::uint8_t kSettingClass = 0x41;

// Sub-commands of the setting class. A value byte of 0 asks for the current value.
namespace setting {
inline constexpr std::uint8_t kReadClock = 0x01;
inline constexpr std::uint8_t kSetClock = 0x02;
inline constexpr std::uint8_t kReadInterval = 0x03;
inline constexpr std::uint8_t kSetInterval = 0x04;
inline constexpr std::uint8_t kReadTriggerTime = 0x05;
inline constexpr std::uint8_t kSetTriggerTime = 0x06;
inline constexpr std::uint8_t kStorageDevice = 0x07;
inline constexpr std::uint8_t kRecordingMode = 0x08;
inline constexpr std::uint8_t kBackLight = 0x09;
inline constexpr std::uint8_t kErase = 0x10;
inline constexpr std::uint8_t kReadPeriod = 0x11;
inline constexpr std::uint8_t kSetPeriod = 0x12;
inline constexpr std::uint8_t kComparatorState = 0x13;
inline constexpr std::uint8_t kComparatorLevel = 0x14;
inline constexpr std::uint8_t kTriggerMode = 0x15;
inline constexpr std::uint8_t kTriggerLevel = 0x16;
inline constexpr std::uint8_t kSubFreqWeighting = 0x18;
inline constexpr std::uint8_t kSubTimeWeighting = 0x19;
}  // namespace setting

void FillCommand(OutputReportBuffer& report, std::uint8_t command_class,
                 std::initializer_list<std::uint8_t> payload);

// Sends one setting command (class 0x41, then `payload`) and returns the reply it read.
const InputReportBuffer& ExchangeSetting(USB& usb, std::initializer_list<std::uint8_t> payload);
// The same for a command that sets a time: hours, minutes and seconds in bytes 3 to 5.
void ExchangeTimeSetting(USB& usb, std::uint8_t sub_command, const TimeFields& time);

struct MeterKey {
  std::string_view button;  // the keypad button's name
  std::uint8_t mask2;       // key bits sent in byte 2
  std::uint8_t mask3;       // and in byte 3
};

// The meter's keys. START/STOP and the backlight share one key bit.
inline constexpr MeterKey kMeterKeys[] = {
    {"CmdFreq", 0x01, 0x00},      {"CmdTime", 0x02, 0x00},    {"CmdEnter", 0x04, 0x00},
    {"CmdStore", 0x08, 0x00},     {"CmdUp", 0x10, 0x00},      {"CmdDown", 0x20, 0x00},
    {"CmdRight", 0x40, 0x00},     {"CmdLeft", 0x80, 0x00},    {"CmdPauseCont", 0x00, 0x01},
    {"CmdMode", 0x00, 0x02},      {"CmdLevelUp", 0x00, 0x04}, {"CmdStartStop", 0x00, 0x08},
    {"CmdBkLight", 0x00, 0x08},   {"CmdOct", 0x00, 0x10},     {"CmdMenu", 0x00, 0x20},
    {"CmdLevelDown", 0x00, 0x40}, {"CmdGrp", 0x00, 0x80},
};
inline constexpr MeterKey kFreqKey = kMeterKeys[0];
inline constexpr MeterKey kTimeKey = kMeterKeys[1];

void FillKeyCommand(OutputReportBuffer& report, const MeterKey& key);

// Presses of a key that steps a weighting along `cycle` from `current` to `wanted`; 0 when
// either is not in the cycle or they are equal.
int PressesToReach(std::string_view current, std::string_view wanted,
                   std::span<const std::string_view> cycle);

// A two-digit value as the packed BCD byte the meter's clock uses: 45 -> 0x45.
std::uint8_t ToPackedBcd(int value);

}  // namespace halvane
