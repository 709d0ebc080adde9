#include "link/usb.h"

#include <algorithm>

namespace halvane {

namespace {

std::string MeterName(const HidDeviceInfo& info) {
  return " " + (info.product.empty() ? std::string("Sound Level Meter") : info.product);
}

}  // namespace

USB::USB(HidBackend& backend, MeterIds ids) : backend_(backend), ids_(ids) {}

USB::~USB() = default;

bool USB::FindMeter() {
  meter_connected_ = false;
  device_.reset();
  // The first device with the meter's IDs that opens wins; ones that refuse are passed over.
  for (const HidDeviceInfo& info : backend_.Enumerate(ids_.vendor, ids_.product)) {
    std::unique_ptr<HidDevice> device = backend_.Open(info.path);
    if (!device) {
      continue;
    }
    device_ = std::move(device);
    input_report_length_ = std::min(device_->InputReportLength(), kInputReportSize);
    output_report_length_ = std::min(device_->OutputReportLength(), kOutputReportSize);
    meter_connected_ = true;
    if (name_sink_) {
      name_sink_(MeterName(info));
    }
    return true;
  }
  if (name_sink_) {
    name_sink_(kNoConnection);
  }
  return false;
}

void USB::ExchangeReports() {
  if (!meter_connected_) {
    meter_connected_ = FindMeter();
  }
  if (meter_connected_) {
    WriteOutputReport();
    ReadInputReport();
  }
}

void USB::SendReport() {
  if (meter_connected_) {
    WriteOutputReport();
  } else {
    meter_connected_ = FindMeter();
  }
}

void USB::ReceiveReport() {
  if (meter_connected_) {
    ReadInputReport();
  } else {
    meter_connected_ = FindMeter();
  }
}

void USB::WriteOutputReport() {
  if (!device_) {
    return;
  }
  // A failed write is not judged: the read that follows times out and drops the link.
  device_->Write(std::span<const std::uint8_t>(output_report_.data(), output_report_length_));
}

void USB::ReadInputReport() {
  if (!device_) {
    DropLink();
    return;
  }
  // The data lands after the report ID; a short report leaves the rest as the last one left it.
  const std::size_t data_length = input_report_length_ > 0 ? input_report_length_ - 1 : 0;
  const int read =
      device_->Read(std::span<std::uint8_t>(input_report_.data() + 1, data_length), kReadTimeoutMs);
  if (read > 0) {
    input_report_copy_ = input_report_;
  } else {
    DropLink();
  }
}

void USB::DropLink() {
  device_.reset();
  meter_connected_ = false;
}

}  // namespace halvane
