#include "records/plot_selection.h"

#include <array>

#include "live/band_labels.h"
#include "records/record_file_reader.h"

namespace halvane {

namespace {

constexpr std::array<std::string_view, kChannelValues> kItemNames{
    "LP", "Leq", "Le", "Lmax", "Lmin", "L05", "L10", "L50", "L90", "L95"};

void AddChannelItems(std::vector<std::string>& entries, std::string_view channel) {
  for (std::string_view name : kItemNames) {
    entries.push_back(std::string(name) + "(" + std::string(channel) + ")");
  }
}

template <std::size_t N>
void AddBandItems(std::vector<std::string>& entries, std::string_view prefix,
                  const std::array<std::string_view, N>& labels, std::size_t count) {
  for (std::size_t band = 0; band < count; ++band) {
    entries.push_back(std::string(prefix) + std::string(labels[band]) + " Hz");
  }
}

}  // namespace

RecordMode ItemListMode(std::string_view mode_text) {
  if (mode_text.find("1/1 & 1/3 OCTAVE") != std::string_view::npos) {
    return RecordMode::OctaveAndThirdOctave;
  }
  if (mode_text.find("1/1 OCTAVE") != std::string_view::npos) {
    return RecordMode::Octave;
  }
  if (mode_text.find("1/3 OCTAVE") != std::string_view::npos) {
    return RecordMode::ThirdOctave;
  }
  return RecordMode::Slm;
}

std::vector<std::string> ItemEntries(RecordMode mode) {
  std::vector<std::string> entries;
  AddChannelItems(entries, "Main");
  AddBandItems(entries, "1/3 OCT ", ThirdOctaveBandLabels, ThirdOctaveBandCount(mode));
  AddBandItems(entries, "1/1 OCT ", OctaveBandLabels, OctaveBandCount(mode));
  AddChannelItems(entries, "Sub");
  entries.emplace_back("Exit");
  return entries;
}

std::vector<std::string> NoItemEntries(std::string_view mode_text) {
  if (mode_text == "SLM") {
    return {"Exit", "Item"};
  }
  return {"Exit", "No.s", "Item"};
}

std::optional<std::size_t> ItemField(RecordMode mode, std::size_t position) {
  if (position >= LevelColumnCount(mode)) {
    return std::nullopt;
  }
  // Level column c (from 1) is field c + 2. Only the combined mode lists its bands in another
  // order than the file holds them: thirds first in the list, octaves first in the file.
  std::size_t column = position + 1;
  if (mode == RecordMode::OctaveAndThirdOctave) {
    const std::size_t thirds_start = kChannelValues;
    const std::size_t octaves_start = thirds_start + kThirdOctaveBands;
    const std::size_t sub_start = octaves_start + kOctaveBands;
    if (position >= thirds_start && position < octaves_start) {
      column = kChannelValues + kOctaveBands + (position - thirds_start) + 1;
    } else if (position >= octaves_start && position < sub_start) {
      column = kChannelValues + (position - octaves_start) + 1;
    }
  }
  return column + 2;
}

bool VisitItemColumn(std::istream& in, std::size_t field, std::uint64_t record_count,
                     const ItemVisitor& each) {
  RecordFileReader reader(in);
  std::vector<std::string_view> fields;
  for (std::uint64_t record = 0; record < record_count && reader.NextRecord(fields); ++record) {
    each(field >= 1 && field <= fields.size() ? fields[field - 1] : "",
         fields.size() >= 2 ? fields[1] : "");
  }
  return reader.Header() && !reader.Lines().StoppedAtLongLine();
}

ItemColumn ReadItemColumn(std::istream& in, std::size_t field, std::uint64_t record_count) {
  ItemColumn column;
  VisitItemColumn(in, field, record_count,
                  [&column](std::string_view value, std::string_view date_time) {
                    column.values.emplace_back(value);
                    column.date_times.emplace_back(date_time);
                  });
  return column;
}

std::uint64_t CountRecordLines(std::istream& in, std::uint64_t record_count) {
  RecordFileReader reader(in);
  std::vector<std::string_view> fields;
  std::uint64_t count = 0;
  while (count < record_count && reader.NextRecord(fields)) {
    ++count;
  }
  return count;
}

}  // namespace halvane
