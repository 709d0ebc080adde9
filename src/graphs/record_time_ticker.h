#pragma once
// Labels the cursor graph's x axis with the records' date/time cells instead of their numbers.

#include <qcustomplot.h>

#include <string>
#include <vector>

namespace halvane {

class RecordTimeTicker : public QCPAxisTicker {
 public:
  // `date_times` index 0 is record 1; ticks fall on whole record numbers only.
  explicit RecordTimeTicker(const std::vector<std::string>& date_times);

  // True when at least one cell carries a date or time.
  static bool HasTimes(const std::vector<std::string>& date_times);

 protected:
  QString getTickLabel(double tick, const QLocale& locale, QChar format_char,
                       int precision) override;
  double getTickStep(const QCPRange& range) override;

 private:
  std::vector<QString> labels_;
};

}  // namespace halvane
