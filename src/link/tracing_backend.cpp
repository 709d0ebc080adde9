#include "link/tracing_backend.h"

#include <cstdio>

namespace halvane {

namespace {

class TracingDevice : public HidDevice {
 public:
  TracingDevice(std::unique_ptr<HidDevice> inner, TracingBackend& trace)
      : inner_(std::move(inner)), trace_(trace) {}

  std::size_t InputReportLength() const override { return inner_->InputReportLength(); }
  std::size_t OutputReportLength() const override { return inner_->OutputReportLength(); }

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

void TracingBackend::Log(char direction, std::span<const std::uint8_t> bytes,
                         std::string_view note) {
  out_ << elapsed_().count() << ' ' << direction;
  char hex[4];
  for (std::uint8_t byte : bytes) {
    std::snprintf(hex, sizeof hex, " %02X", byte);
    out_ << hex;
  }
  if (!note.empty()) {
    out_ << ' ' << note;
  }
  out_ << '\n' << std::flush;
}

}  // namespace halvane
