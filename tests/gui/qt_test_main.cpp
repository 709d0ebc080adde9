// Runs the window tests headless in one QApplication, on a screen of 1920 x 1080 pixels at 96
// dots per inch.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" HALVANE_TEST_SCREEN);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
