#include "graphs/record_time_ticker.h"

#include <cmath>

namespace halvane {

RecordTimeTicker::RecordTimeTicker(const std::vector<std::string>& date_times) {
  labels_.reserve(date_times.size());
  for (const std::string& cell : date_times) {
    // A cell with a date breaks its label into date and time lines.
    labels_.push_back(QString::fromLatin1(cell).trimmed().replace(' ', '\n'));
  }
  setTickCount(6);
}

bool RecordTimeTicker::HasTimes(const std::vector<std::string>& date_times) {
  for (const std::string& cell : date_times) {
    if (cell.find(':') != std::string::npos) {
      return true;
    }
  }
  return false;
}

double RecordTimeTicker::getTickStep(const QCPRange& range) {
  return std::max(1.0, std::round(QCPAxisTicker::getTickStep(range)));
}

QString RecordTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  const double record = std::round(tick);
  if (std::abs(record - tick) > 1e-6 || record < 1 ||
      record > static_cast<double>(labels_.size())) {
    return {};
  }
  return labels_[static_cast<std::size_t>(record) - 1];
}

}  // namespace halvane
