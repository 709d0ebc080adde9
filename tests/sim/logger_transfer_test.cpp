#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "link/usb.h"
#include "sim/sample_logger_contents.h"
#include "sim/simulated_backend.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

// What a transfer of `pages` pages of `bytes` must deliver: the bytes, zeros behind them.
std::string Padded(std::string bytes, std::size_t pages) {
  bytes.resize(pages * 160, '\0');
  return bytes;
}

class LoggerTransferTest : public ::testing::Test {
 protected:
  LoggerTransferTest() {
    backend.SetWait([this](int ms) { waits.push_back(ms); });
    backend.SetIdleReads(IdleReads::TimeOut);  // a read past the last page must find nothing
  }

  void Exchange(std::initializer_list<int> bytes, bool read = true) {
    std::size_t index = 1;
    for (const int byte : bytes) {
      usb.OutputReport()[index++] = static_cast<std::uint8_t>(byte);
    }
    read ? usb.ExchangeReports() : usb.SendReport();
  }
  std::string Payload() const {
    return {usb.InputReportCopy().begin() + 1, usb.InputReportCopy().end()};
  }
  int PayloadByte(std::size_t index) const { return usb.InputReportCopy()[index]; }

  // Receives pages as the download does, the first with `start`, until `pages` or a failed read.
  std::string ReceivePages(std::initializer_list<int> start, bool read_with_start,
                           std::size_t pages) {
    Exchange(start, read_with_start);
    std::string received;
    for (std::size_t page = 1; page <= pages; ++page) {
      if (page > 1 || !read_with_start) {
        usb.ReceiveReport();
      }
      if (!usb.MeterConnected()) {
        break;
      }
      received += Payload();
    }
    return received;
  }
  std::string DownloadSet(int entry, std::size_t pages) {
    return ReceivePages({0x43, 0x06, entry / 256, entry % 256, 0x01}, true, pages);
  }
  std::string ReadFlash(std::size_t pages) {
    return ReceivePages({0x43, 0x04, 0x00, 0x01, 0x01}, false, pages);
  }
  bool NothingMoreToRead() {
    usb.ReceiveReport();
    return !usb.MeterConnected();
  }

  SimulatedMeter meter{1, [] { return std::chrono::system_clock::time_point{}; }};
  SimulatedBackend backend{meter};
  USB usb{backend};
  std::vector<int> waits;
};

TEST_F(LoggerTransferTest, ScanFindsEveryEntryAndEachSetDownloadsByteForByteInExactlyItsPages) {
  const std::vector<std::optional<std::string>> card = SampleSdCard();
  // The page boundary is checked with the download, in the records' transfer test.
  meter.State().sd_entries = {card[0], std::nullopt, card[6]};
  Exchange({0x43, 0x01});
  EXPECT_EQ(PayloadByte(11) * 256 + PayloadByte(12), 3);

  for (const auto& [entry, pages] : {std::pair{1, 15}, {3, 22}}) {
    SCOPED_TRACE(entry);
    const std::string& set = *meter.State().sd_entries[entry - 1];
    Exchange({0x43, 0x06, 0, entry, 0x00});
    EXPECT_EQ(Payload(), Padded(set.substr(0, 160), 1));
    const std::size_t length =
        PayloadByte(1) << 24 | PayloadByte(2) << 16 | PayloadByte(3) << 8 | PayloadByte(4);
    EXPECT_EQ(length + 2, set.size());
    EXPECT_EQ(DownloadSet(entry, pages), Padded(set, pages));
    EXPECT_TRUE(NothingMoreToRead());
    Exchange({0x42});  // finds the meter again
  }
  // Empty entries, and those beyond the card or before it, answer 0x45 and 0x64.
  std::string empty_entry(160, '\0');
  empty_entry[0] = '\x45';
  empty_entry[9] = '\x64';
  for (const int entry : {2, 4, 0, 0x0102}) {
    Exchange({0x43, 0x06, entry / 256, entry % 256, 0x00});
    EXPECT_EQ(Payload(), empty_entry) << entry;
  }
  EXPECT_EQ(waits.size(), 2u);  // one per NothingMoreToRead
}

TEST_F(LoggerTransferTest, FlashSizeAndImageComeInItsPagesAndANewCommandEndsATransfer) {
  std::string sample(meter.State().flash_image.begin(), meter.State().flash_image.end());
  for (const std::string& image : {std::string(161, '\xA5'), sample, std::string()}) {
    SCOPED_TRACE(image.size());
    meter.State().flash_image.assign(image.begin(), image.end());
    Exchange({0x43, 0x04, 0x00, 0x01, 0x00});
    EXPECT_EQ(PayloadByte(3) << 24 | PayloadByte(4) << 16 | PayloadByte(5) << 8 | PayloadByte(6),
              static_cast<int>(image.size()));
    const std::size_t pages = (image.size() + 159) / 160;
    EXPECT_EQ(ReadFlash(pages), Padded(image, pages));
    EXPECT_TRUE(NothingMoreToRead());
    Exchange({0x42});
  }
  meter.State().flash_image.assign(sample.begin(), sample.end());
  EXPECT_EQ(ReadFlash(2), sample.substr(0, 320));
  Exchange({0x42});  // the meter drops the rest of the image and answers the poll
  EXPECT_NE(Payload(), sample.substr(320, 160));
  EXPECT_TRUE(NothingMoreToRead());
}

TEST_F(LoggerTransferTest, UnplugOrSilenceAtAnyPageCutsTheTransferThereAndTheLinkRecovers) {
  const std::string set = *meter.State().sd_entries[0];
  const std::string image(meter.State().flash_image.begin(), meter.State().flash_image.end());
  constexpr std::size_t kSetPages = 15;
  const std::size_t image_pages = (image.size() + 159) / 160;
  for (const ReadFault fault : {ReadFault::Unplug, ReadFault::Silence}) {
    for (const bool flash : {false, true}) {
      const std::size_t pages = flash ? image_pages : kSetPages;
      for (const std::size_t cut : {std::size_t{1}, pages / 2, pages}) {
        SCOPED_TRACE(testing::Message() << int(fault) << flash << " page " << cut);
        waits.clear();
        backend.FailAtRead(fault, static_cast<int>(cut));
        const std::string received = flash ? ReadFlash(pages) : DownloadSet(1, pages);
        EXPECT_FALSE(usb.MeterConnected());
        EXPECT_EQ(received, Padded(flash ? image : set, pages).substr(0, (cut - 1) * 160));
        EXPECT_EQ(waits, fault == ReadFault::Silence ? std::vector<int>{2000} : std::vector<int>{});
        backend.Replug();
        backend.SetSilent(false);
        Exchange({0x42});
        EXPECT_TRUE(usb.MeterConnected());
      }
    }
  }
}

}  // namespace
}  // namespace halvane
