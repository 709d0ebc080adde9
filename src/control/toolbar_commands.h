#pragma once
// The main window's toolbar: each button pops up its settings list (after reading the current
// value where the meter reports it), asks for a time, opens a window, or erases the logger.
// A branch whose exchange finds no meter says so and stops there.

#include <QObject>
#include <QToolBar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "control/control_context.h"
#include "live/live_reply.h"
#include "live/panel_lists.h"

namespace halvane {

class ToolbarCommands : public QObject {
  Q_OBJECT

 public:
  // `owner` is the main window, parent of the windows the toolbar opens. The toolbar commands
  // are not its child: they are owned by whoever builds them.
  ToolbarCommands(ControlContext context, QToolBar& toolbar, const PanelLists& lists,
                  const LiveReading& reading, SubChannelSettings& sub, QWidget& owner);

  // The click of the button with this key.
  void Click(const std::string& key);
  // Lets another layer run the branch of a button this class does not handle itself.
  void AddBranch(const std::string& key, std::function<void()> branch) {
    branches_[key] = std::move(branch);
  }

 private:
  void HideOtherLists(const std::string& key);
  void ReadBackLight();
  void ReadSubWeighting(std::uint8_t sub_command, std::span<const std::string_view> letters,
                        std::string& setting, QComboBox* channel, QComboBox* weighting,
                        const std::string& main_letter);
  void AskRecordingTime(std::uint8_t query, std::uint8_t set, const char* first_line,
                        const char* zero_message);
  void Erase();

  ControlContext context_;
  const PanelLists& lists_;
  const LiveReading& reading_;
  SubChannelSettings& sub_;
  QWidget& owner_;
  std::map<std::string, std::vector<QWidget*>> own_lists_;
  std::map<std::string, std::function<void()>> branches_;
};

}  // namespace halvane
