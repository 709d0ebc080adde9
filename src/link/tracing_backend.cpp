#include "link/tracing_backend.h"

#include <cstdio>
#include <sstream>

namespace halvane {

namespace {

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

std::string Describe(const HidDeviceInfo& device) {
  std::string text = device.path;
  if (!device.product.empty()) {
    text += " \"" + device.product + "\"";
  }
  if (device.interface_number >= 0) {
    text += " interface " + std::to_string(device.interface_number) + ",";
  }
  text +=
      device.usage_page != 0 ? " usage page 0x" + Hex4(device.usage_page) : " usage page unknown";
  return text;
}

std::string Verdict(const SearchCandidate& candidate) {
  std::string text = candidate.tried_last ? "did not answer when last opened, tried last; " : "";
  switch (candidate.outcome) {
    case SearchCandidate::Outcome::ForeignUsagePage:
      return text + "passed over: not a vendor-defined usage page";
    case SearchCandidate::Outcome::OpenFailed:
      return text + "passed over: cannot open" +
             (candidate.open_error.reason.empty() ? "" : " (" + candidate.open_error.reason + ")");
    case SearchCandidate::Outcome::Opened:
      break;
  }
  return text + "opened";
}

std::string SearchText(const SearchRecord& search) {
  std::ostringstream text;
  text << "search " << Hex4(search.ids.vendor) << ':' << Hex4(search.ids.product) << ": "
       << search.matched << (search.matched == 1 ? " device" : " devices") << " with these IDs";
  const bool found = !search.candidates.empty() &&
                     search.candidates.back().outcome == SearchCandidate::Outcome::Opened;
  if (!found) {
    text << ", no meter";
  }
  text << '\n';
  for (const SearchCandidate& candidate : search.candidates) {
    text << "  " << Describe(candidate.device) << ": " << Verdict(candidate) << '\n';
  }
  return text.str();
}

class TracingDevice : public HidDevice {
 public:
  TracingDevice(std::unique_ptr<HidDevice> inner, TracingBackend& trace)
      : inner_(std::move(inner)), trace_(trace) {}

  std::size_t InputReportLength() const override { return inner_->InputReportLength(); }
  std::size_t OutputReportLength() const override { return inner_->OutputReportLength(); }
  bool NumberedInputReports() const override { return inner_->NumberedInputReports(); }

  int Write(std::span<const std::uint8_t> report) override {
    const int written = inner_->Write(report);
    trace_.Log('W', report, written < 0 ? "write failed" : "");
    return written;
  }

  int Read(std::span<std::uint8_t> data, int timeout_ms) override {
    const int read = inner_->Read(data, timeout_ms);
    if (read > 0) {
      trace_.Log('R', data.first(static_cast<std::size_t>(read)));
    } else {
      trace_.Log('R', {}, read == 0 ? "timeout" : "read failed");
    }
    return read;
  }

 private:
  std::unique_ptr<HidDevice> inner_;
  TracingBackend& trace_;
};

}  // namespace

TracingBackend::TracingBackend(HidBackend& inner, std::ostream& out, Clock elapsed)
    : inner_(inner), out_(out), elapsed_(std::move(elapsed)) {
  if (!elapsed_) {
    const auto start = std::chrono::steady_clock::now();
    elapsed_ = [start] {
      return std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - start);
    };
  }
}

std::vector<HidDeviceInfo> TracingBackend::Enumerate(std::uint16_t vendor_id,
                                                     std::uint16_t product_id) {
  return inner_.Enumerate(vendor_id, product_id);
}

std::unique_ptr<HidDevice> TracingBackend::Open(const std::string& path) {
  std::unique_ptr<HidDevice> device = inner_.Open(path);
  if (!device) {
    return nullptr;
  }
  return std::make_unique<TracingDevice>(std::move(device), *this);
}

void TracingBackend::Searched(const SearchRecord& search) {
  const std::string text = SearchText(search);
  const std::chrono::milliseconds now = elapsed_();
  if (text == last_search_ && last_search_logged_ &&
      now - *last_search_logged_ < kRepeatedSearchInterval) {
    return;
  }
  last_search_ = text;
  last_search_logged_ = now;
  LogLines('S', text);
}

void TracingBackend::NoFirstAnswer(const HidDeviceInfo& device) {
  LogLines('S', device.path + " did not answer its first report; later searches try it last\n");
  last_search_.clear();
}

void TracingBackend::LogLines(char direction, const std::string& lines) {
  const std::string time = std::to_string(elapsed_().count());
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    out_ << time << ' ' << direction << ' ' << line << '\n';
  }
  out_ << std::flush;
}

// A line is built whole and written at once: during a transfer the trace must keep up with a
// report every few milliseconds.
void TracingBackend::Log(char direction, std::span<const std::uint8_t> bytes,
                         std::string_view note) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line = std::to_string(elapsed_().count()) + ' ' + direction;
  line.reserve(line.size() + 3 * bytes.size() + note.size() + 2);
  for (std::uint8_t byte : bytes) {
    line += {' ', kDigits[byte >> 4], kDigits[byte & 0xF]};
  }
  if (!note.empty()) {
    line.append(" ").append(note);
  }
  line += '\n';
  out_ << line << std::flush;
}

}  // namespace halvane
