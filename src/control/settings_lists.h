#pragma once
// The selection handlers of the main window's settings lists: backlight, storage device,
// recording mode, and the frequency and time weighting of either channel.

#include <QObject>
#include <span>
#include <string_view>

#include "control/control_context.h"
#include "control/meter_commands.h"
#include "live/live_reply.h"
#include "live/panel_lists.h"

namespace halvane {

class SettingsLists : public QObject {
  Q_OBJECT

 public:
  // `reading` is the main window's last decoded reply, for the main channel's weightings.
  SettingsLists(ControlContext context, const PanelLists& lists, const LiveReading& reading,
                const SubChannelSettings& sub, QObject* parent = nullptr);

 private:
  // A channel list and the weighting list it pairs with.
  struct WeightingPair {
    QComboBox* channel;
    QComboBox* weighting;
    std::uint8_t sub_command;
    MeterKey key;
    std::span<const std::string_view> cycle;
    const std::string LiveReading::*main_letter;
    const std::string SubChannelSettings::*sub_letter;
  };

  void ChooseSetting(QComboBox* list, std::uint8_t sub_command, int index);
  void ChooseChannel(const WeightingPair& pair, int index);
  void ChooseWeighting(const WeightingPair& pair, int index);
  void Connect(const WeightingPair& pair);

  ControlContext context_;
  const LiveReading& reading_;
  const SubChannelSettings& sub_;
};

}  // namespace halvane
