#pragma once
// The meter's logged data over the link: the SD card scan and set download, and the read of the
// flash memory. A page that does not arrive ends the transfer with a message; nothing is ever
// made up from a stale page.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/usb.h"
#include "records/logger_image.h"
#include "records/sd_set.h"

namespace halvane {

inline constexpr const char* kNoSdSets = "No automatically recorded data in SD card";
inline constexpr const char* kNoFlashData = "No automatically recorded data in Flash Memory!";

inline constexpr const char* kTransferStopped = "The transfer was stopped before its end.";

// Called after each page (or card entry) with the count done so far and the total; answers
// false to stop the transfer there, which then ends with kTransferStopped.
using PageProgress = std::function<bool(std::uint64_t page, std::uint64_t pages)>;

struct SdScan {
  SdSetTable table;
  std::string error;  // empty on success, also when the card holds no set
};

struct SdDownload {
  std::string set_text;  // every page's 160 bytes in order, the last page's tail included
  std::string error;     // empty on success
};

struct LoggerSize {
  std::uint32_t used_size = 0;  // S, as the meter reported it
  std::string error;            // empty on success; kNoFlashData when S is 0
};

struct LoggerRead {
  std::vector<std::uint8_t> image;  // whole pages
  std::string error;                // empty on success
};

// Asks the meter for its card entries (up to 65535, one exchange each) and keeps those that
// hold a set.
SdScan ScanSdCard(USB& usb, const PageProgress& progress = {});

// Downloads one set of the last scan page by page.
SdDownload DownloadSdSet(USB& usb, const SdSet& set, const PageProgress& progress = {});

// Asks how much of the flash area holds recorded data; more than it can hold is refused.
LoggerSize QueryLoggerSize(USB& usb);

// Reads the used flash area of `used_size` bytes (as QueryLoggerSize gave it), page by page.
LoggerRead ReadLoggerImage(USB& usb, std::uint32_t used_size, const PageProgress& progress = {});

}  // namespace halvane
