#include "sim/logger_files.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "sim/flash_record.h"
#include "sim/sd_set_text.h"

namespace halvane {

namespace {

struct FileContents {
  std::string bytes;
  std::optional<std::string> error;
};

// The whole file when it holds at most `largest` bytes; `what` names it in the error.
FileContents ReadWholeFile(const std::filesystem::path& file, std::size_t largest,
                           const std::string& what) {
  const std::string name = what + " '" + file.string() + "'";
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (error) {
    return {{}, "cannot read " + name + ": " + error.message()};
  }
  if (size > largest) {
    return {{},
            name + " holds " + std::to_string(size) + " bytes; at most " + std::to_string(largest) +
                " are allowed"};
  }
  std::ifstream stream(file, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    return {{}, "cannot read " + name};
  }
  return {std::move(bytes), std::nullopt};
}

std::optional<std::string> SetLengthError(const std::string& set,
                                          const std::filesystem::path& file) {
  const std::string name = "the SD set '" + file.string() + "'";
  if (set.size() < 4) {
    return name + " is too short to hold its 4-byte length";
  }
  const std::size_t length = SdSetLengthField(set);
  if (length > kLongestSdSet) {
    return name + " gives its length as " + std::to_string(length) + " bytes; at most " +
           std::to_string(kLongestSdSet) + " are allowed";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> LoadFlashImage(const std::filesystem::path& file, MeterState& state) {
  FileContents image = ReadWholeFile(file, kFlashCapacity, "the flash image");
  if (image.error) {
    return image.error;
  }
  state.flash_image.assign(image.bytes.begin(), image.bytes.end());
  return std::nullopt;
}

std::optional<std::string> LoadSdCard(const std::vector<std::filesystem::path>& files,
                                      MeterState& state) {
  std::vector<std::optional<std::string>> entries;
  for (const std::filesystem::path& file : files) {
    FileContents set = ReadWholeFile(file, kLongestSdSet, "the SD set");
    if (set.error) {
      return set.error;
    }
    if (set.bytes.empty()) {
      entries.emplace_back(std::nullopt);
      continue;
    }
    if (auto error = SetLengthError(set.bytes, file)) {
      return error;
    }
    entries.emplace_back(std::move(set.bytes));
  }
  state.sd_entries = std::move(entries);
  return std::nullopt;
}

}  // namespace halvane
