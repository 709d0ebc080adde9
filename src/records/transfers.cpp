#include "records/transfers.h"
#include "records/concat.h"

#include <algorithm>
#include <initializer_list>

namespace halvane {

namespace {

constexpr std::uint8_t kLoggerClass = 0x43;
constexpr std::uint8_t kEmptyEntryMark = 0x45;
constexpr std::uint8_t kEmptyEntryMark2 = 0x64;

// Sets bytes 1 onward of the output report; bytes behind them keep what they held.
void Frame(USB& usb, std::initializer_list<std::uint8_t> bytes) {
  OutputReportBuffer& report = usb.OutputReport();
  report[0] = 0x00;
  std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
}

std::uint8_t High(std::uint16_t value) {
  return static_cast<std::uint8_t>(value >> 8);
}
std::uint8_t Low(std::uint16_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

std::string PageLost(std::uint64_t page, std::uint64_t pages) {
  return Concat({"The meter stopped answering at page ", std::to_string(page), " of ",
                 std::to_string(pages), ". Nothing was written; try again once it answers."});
}

// The 160 data bytes of the last input report.
std::span<const std::uint8_t, kPageBytes> Page(const USB& usb) {
  return std::span<const std::uint8_t, kInputReportSize>(usb.InputReportCopy())
      .subspan<1, kPageBytes>();
}

}  // namespace

SdScan ScanSdCard(USB& usb, const PageProgress& progress) {
  SdScan scan;
  usb.ReceiveReport();
  Frame(usb, {kLoggerClass, 0x01});
  usb.ExchangeReports();
  if (!usb.MeterConnected()) {
    scan.error = kMeterNotConnectedMessage;
    return scan;
  }
  const InputReportBuffer& answer = usb.InputReportCopy();
  const int entries = answer[11] * 256 + answer[12];
  for (int entry = 1; entry <= entries; ++entry) {
    const auto position = static_cast<std::uint16_t>(entry);
    Frame(usb, {kLoggerClass, 0x06, High(position), Low(position), 0x00});
    usb.ExchangeReports();
    if (!usb.MeterConnected()) {
      scan.error = kMeterNotConnectedMessage;
      scan.table.sets.clear();
      return scan;
    }
    const InputReportBuffer& page = usb.InputReportCopy();
    if (page[1] != kEmptyEntryMark || page[10] != kEmptyEntryMark2) {
      scan.table.sets.push_back(SdSetOfFirstPage(
          position, std::string_view(reinterpret_cast<const char*>(page.data() + 1), kPageBytes)));
    }
    if (progress &&
        !progress(static_cast<std::uint64_t>(entry), static_cast<std::uint64_t>(entries))) {
      scan.error = kTransferStopped;
      scan.table.sets.clear();
      return scan;
    }
  }
  return scan;
}

SdDownload DownloadSdSet(USB& usb, const SdSet& set, const PageProgress& progress) {
  SdDownload download;
  if (set.length > kMaxSdSetLength) {
    download.error = Concat({"This set is ", std::to_string(set.length),
                             " bytes long, more than a set of the meter can be (",
                             std::to_string(kMaxSdSetLength), " bytes). Nothing was downloaded."});
    return download;
  }
  const std::uint64_t pages = PageCount(set.length);
  download.set_text.reserve(static_cast<std::size_t>(pages * kPageBytes));
  usb.ReceiveReport();
  Frame(usb, {kLoggerClass, 0x06, High(set.position), Low(set.position), 0x01});
  usb.ExchangeReports();
  for (std::uint64_t page = 1; page <= pages; ++page) {
    if (page > 1) {
      usb.ReceiveReport();
    }
    if (!usb.MeterConnected()) {
      download.set_text.clear();
      download.error = PageLost(page, pages);
      return download;
    }
    const auto bytes = Page(usb);
    download.set_text.append(bytes.begin(), bytes.end());
    if (progress && !progress(page, pages)) {
      download.set_text.clear();
      download.error = kTransferStopped;
      return download;
    }
  }
  return download;
}

LoggerSize QueryLoggerSize(USB& usb) {
  LoggerSize size;
  usb.ReceiveReport();
  Frame(usb, {kLoggerClass, 0x04, 0x00, 0x01, 0x00});
  usb.ExchangeReports();
  if (!usb.MeterConnected()) {
    size.error = kMeterNotConnectedMessage;
    return size;
  }
  const InputReportBuffer& answer = usb.InputReportCopy();
  size.used_size = std::uint32_t{answer[3]} << 24 | std::uint32_t{answer[4]} << 16 |
                   std::uint32_t{answer[5]} << 8 | answer[6];
  if (size.used_size == 0) {
    size.error = kNoFlashData;
  } else if (size.used_size > kLoggerCapacity) {
    size.error = Concat({"The meter reports ", std::to_string(size.used_size),
                         " bytes of recorded data, more than its flash memory holds (",
                         std::to_string(kLoggerCapacity), " bytes). Nothing was read."});
  }
  return size;
}

LoggerRead ReadLoggerImage(USB& usb, std::uint32_t used_size, const PageProgress& progress) {
  LoggerRead read;
  const std::uint64_t pages = PageCount(std::min(used_size, kLoggerCapacity));
  read.image.resize(static_cast<std::size_t>(pages * kPageBytes));
  Frame(usb, {kLoggerClass, 0x04, 0x00, 0x01, 0x01});
  usb.SendReport();
  for (std::uint64_t page = 1; page <= pages; ++page) {
    usb.ReceiveReport();
    if (!usb.MeterConnected()) {
      read.image = {};
      read.error = PageLost(page, pages);
      return read;
    }
    const auto bytes = Page(usb);
    std::copy(bytes.begin(), bytes.end(),
              read.image.begin() + static_cast<std::ptrdiff_t>((page - 1) * kPageBytes));
    if (progress && !progress(page, pages)) {
      read.image = {};
      read.error = kTransferStopped;
      return read;
    }
  }
  return read;
}

}  // namespace halvane
