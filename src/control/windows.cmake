# The keypad, clock and comparator windows, with the pure captions and values they show.
add_library(halvane_control_windows STATIC
  clickable_label.cpp
  comparator_window.cpp
  control_panel.cpp
  level_band.cpp
  meter_answer.cpp
  rtc_window.cpp
)
set_target_properties(halvane_control_windows PROPERTIES AUTOMOC ON)
target_link_libraries(halvane_control_windows PUBLIC halvane_control halvane_ui halvane_live Qt6::Widgets)
