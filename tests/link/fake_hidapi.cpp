#include "fake_hidapi.h"

#include <hidapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

struct hid_device_ {
  std::string path;
};

namespace halvane {

namespace {

FakeHid fake;
std::wstring last_error = L"Success";

wchar_t* Copy(const std::wstring& text) {
  auto* copy = new wchar_t[text.size() + 1];
  std::copy(text.begin(), text.end(), copy);
  copy[text.size()] = L'\0';
  return copy;
}

}  // namespace

FakeHid& Fake() {
  return fake;
}

void ResetFake() {
  fake = FakeHid{};
  last_error = L"Success";
}

}  // namespace halvane

using halvane::fake;

extern "C" {

int hid_init() {
  return 0;
}

int hid_exit() {
  return 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
  hid_device_info* first = nullptr;
  hid_device_info** link = &first;
  for (const halvane::FakeHidDevice& device : fake.devices) {
    auto* info = new hid_device_info{};
    info->path = strdup(device.path.c_str());
    info->vendor_id = vendor_id;
    info->product_id = product_id;
    info->product_string = halvane::Copy(device.product);
    info->usage_page = device.usage_page;
    info->interface_number = device.interface_number;
    *link = info;
    link = &info->next;
  }
  return first;
}

void hid_free_enumeration(hid_device_info* devices) {
  while (devices != nullptr) {
    hid_device_info* next = devices->next;
    free(devices->path);
    delete[] devices->product_string;
    delete devices;
    devices = next;
  }
}

hid_device* hid_open_path(const char* path) {
  const auto device = std::find_if(fake.devices.begin(), fake.devices.end(),
                                   [&](const auto& candidate) { return candidate.path == path; });
  const int error = device == fake.devices.end() ? ENOENT : device->open_errno;
  if (error != 0) {
    const std::string reason = std::strerror(error);
    halvane::last_error.assign(reason.begin(), reason.end());
    errno = error;
    return nullptr;
  }
  fake.opened.push_back(path);
  ++fake.open_handles;
  return new hid_device{path};
}

void hid_close(hid_device* device) {
  --fake.open_handles;
  delete device;
}

int hid_write(hid_device*, const unsigned char* data, size_t length) {
  fake.writes.emplace_back(data, data + length);
  return static_cast<int>(length);
}

int hid_read_timeout(hid_device*, unsigned char* data, size_t length, int milliseconds) {
  fake.read_lengths.push_back(length);
  fake.read_timeouts.push_back(milliseconds);
  if (fake.reads.empty()) {
    return 0;
  }
  const halvane::FakeRead read = fake.reads.front();
  fake.reads.pop_front();
  std::copy_n(read.bytes.begin(), std::min(length, read.bytes.size()), data);
  errno = read.error;
  return read.result;
}

const wchar_t* hid_error(hid_device*) {
  return halvane::last_error.c_str();
}

}  // extern "C"
