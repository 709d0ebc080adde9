#include "link/usb.h"

#include <algorithm>

namespace halvane {

namespace {

std::string MeterName(const HidDeviceInfo& info) {
  return " " + (info.product.empty() ? std::string("Sound Level Meter") : info.product);
}

// Keyboards, mice and other standard collections share the IDs of some gadgets but are never
// the meter; an unknown page (0) is given the benefit of the doubt.
bool ForeignUsagePage(const HidDeviceInfo& info) {
  return info.usage_page != 0 && info.usage_page < kFirstVendorUsagePage;
}

}  // namespace

USB::USB(HidBackend& backend, MeterIds ids) : backend_(backend), ids_(ids) {}

USB::~USB() = default;

bool USB::FindMeter() {
  meter_connected_ = false;
  device_.reset();
  std::vector<HidDeviceInfo> devices = backend_.Enumerate(ids_.vendor, ids_.product);
  std::erase_if(unanswered_paths_, [&](const std::string& path) {
    return std::none_of(devices.begin(), devices.end(),
                        [&](const HidDeviceInfo& info) { return info.path == path; });
  });
  std::stable_partition(devices.begin(), devices.end(), [this](const HidDeviceInfo& info) {
    return !unanswered_paths_.contains(info.path);
  });

  SearchRecord search{ids_, devices.size(), {}};
  bool refused = false;
  for (const HidDeviceInfo& info : devices) {
    SearchCandidate& candidate = search.candidates.emplace_back();
    candidate.device = info;
    candidate.tried_last = unanswered_paths_.contains(info.path);
    if (ForeignUsagePage(info)) {
      candidate.outcome = SearchCandidate::Outcome::ForeignUsagePage;
      continue;
    }
    std::unique_ptr<HidDevice> device = backend_.Open(info.path);
    if (!device) {
      candidate.outcome = SearchCandidate::Outcome::OpenFailed;
      candidate.open_error = backend_.OpenError();
      refused = refused || candidate.open_error.access_denied;
      continue;
    }
    candidate.outcome = SearchCandidate::Outcome::Opened;
    Connect(info, std::move(device));
    break;
  }
  access_refused_ = !meter_connected_ && refused;
  if (trace_ != nullptr) {
    trace_->Searched(search);
  }
  if (name_sink_) {
    name_sink_(meter_connected_ ? MeterName(device_info_) : kNoConnection);
  }
  return meter_connected_;
}

void USB::Connect(const HidDeviceInfo& info, std::unique_ptr<HidDevice> device) {
  device_ = std::move(device);
  device_info_ = info;
  answered_ = false;
  input_report_length_ = std::min(device_->InputReportLength(), kInputReportSize);
  output_report_length_ = std::min(device_->OutputReportLength(), kOutputReportSize);
  numbered_input_ = device_->NumberedInputReports();
  meter_connected_ = true;
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
  // The data lands at byte 1: after the report ID the device sends with numbered reports, or
  // after the place left for it. A short report leaves the rest as the last one left it.
  const std::size_t skipped = numbered_input_ ? 0 : 1;
  const std::size_t length = input_report_length_ > skipped ? input_report_length_ - skipped : 0;
  const int read = device_->Read(std::span<std::uint8_t>(input_report_.data() + skipped, length),
                                 kReadTimeoutMs);
  if (read > 0) {
    answered_ = true;
    unanswered_paths_.erase(device_info_.path);
    input_report_copy_ = input_report_;
    return;
  }
  if (!answered_) {
    unanswered_paths_.insert(device_info_.path);
    if (trace_ != nullptr) {
      trace_->NoFirstAnswer(device_info_);
    }
  }
  DropLink();
}

void USB::DropLink() {
  device_.reset();
  meter_connected_ = false;
}

}  // namespace halvane
