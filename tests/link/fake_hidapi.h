#pragma once
// A stand-in for libhidapi: the hid_* functions the backend calls, acting on a scripted set of
// devices and reads, and recording what the backend did.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace halvane {

struct FakeHidDevice {
  std::string path;
  std::uint16_t usage_page = 0xFF00;
  int interface_number = 0;
  std::wstring product = L"Meter";
  int open_errno = 0;  // not 0: hid_open_path fails with this errno
};

struct FakeRead {
  int result = 0;                   // what hid_read_timeout returns
  std::vector<std::uint8_t> bytes;  // copied to the caller's buffer
  int error = 0;                    // errno left behind
};

struct FakeHid {
  std::vector<FakeHidDevice> devices;
  std::deque<FakeRead> reads;  // one per call in order; when empty a read times out
  std::vector<std::vector<std::uint8_t>> writes;
  std::vector<std::size_t> read_lengths;
  std::vector<int> read_timeouts;
  std::vector<std::string> opened;
  int open_handles = 0;
};

// The fake's state, cleared by Reset at the start of each test.
FakeHid& Fake();
void ResetFake();

}  // namespace halvane
