#include "live/live_formats.h"

#include <array>
#include <charconv>
#include <nlohmann/json.hpp>

#include "live/line_protocol.h"

namespace halvane {

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

// The shortest text that reads back as `value`, never in exponent form.
std::string NumberText(double value) {
  std::array<char, 400> text{};
  const auto result =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return std::string(text.data(), result.ptr);
}

std::string CsvCell(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') {
      quoted += '"';
    }
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string InfluxLine(const LiveSample& sample, const std::vector<LiveField>& fields) {
  LineProtocolLine line("halvane");
  for (const LiveField& field : fields) {
    if (field.name == "time") {
      continue;
    }
    std::visit(Overloaded{[](std::monostate) {},
                          [&](const std::string& value) {
                            if (field.name == "meter_clock") {
                              line.Field(field.name, std::string_view(value));
                            } else {
                              line.Tag(field.name, value);
                            }
                          },
                          [&](const auto& value) { line.Field(field.name, value); }},
               field.value);
  }
  return line.Text(sample.pc_time_ns);
}

std::string LiveLine(LiveFormat format, const LiveSample& sample,
                     const std::vector<LiveField>& fields) {
  switch (format) {
    case LiveFormat::JsonLines:
      return JsonLine(fields);
    case LiveFormat::Csv:
      return CsvLine(fields);
    case LiveFormat::Influx:
      return InfluxLine(sample, fields);
  }
  return {};
}

// Whether a file that begins with `first_line` holds lines of `format`.
bool BeginsWithLinesOf(LiveFormat format, std::string_view first_line) {
  switch (format) {
    case LiveFormat::JsonLines:
      return first_line.starts_with('{');
    case LiveFormat::Csv:
      return CsvHeaderLine(LiveFields({})) == std::string(first_line).append("\n");
    case LiveFormat::Influx:
      return first_line.starts_with("halvane,") || first_line.starts_with("halvane ");
  }
  return false;
}

constexpr std::string_view FormatName(LiveFormat format) {
  switch (format) {
    case LiveFormat::JsonLines:
      return "JSON lines";
    case LiveFormat::Csv:
      return "CSV with these columns";
    case LiveFormat::Influx:
      return "the line protocol";
  }
  return {};
}

}  // namespace

std::unique_ptr<LineLog> OpenLiveLog(const std::filesystem::path& path, LiveFormat format,
                                     std::string& error) {
  std::unique_ptr<LineLog> log = LineLog::OpenFile(path, error);
  if (!log) {
    return nullptr;
  }
  if (!log->Empty() && !BeginsWithLinesOf(format, log->FirstLine())) {
    error = "it holds lines of another format than ";
    error += FormatName(format);
    return nullptr;
  }
  return log;
}

std::string LiveOutputLines(LiveFormat format, const LiveSample& sample, bool output_empty) {
  const std::vector<LiveField> fields = LiveFields(sample);
  std::string lines =
      output_empty && format == LiveFormat::Csv ? CsvHeaderLine(fields) : std::string();
  lines += LiveLine(format, sample, fields);
  return lines;
}

std::string JsonLine(const std::vector<LiveField>& fields) {
  nlohmann::ordered_json line = nlohmann::ordered_json::object();
  for (const LiveField& field : fields) {
    std::visit(Overloaded{[&](std::monostate) { line[field.name] = nullptr; },
                          [&](const auto& value) { line[field.name] = value; }},
               field.value);
  }
  std::string text = line.dump();
  text += '\n';
  return text;
}

std::string CsvLine(const std::vector<LiveField>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) {
      line += ',';
    }
    line += std::visit(Overloaded{[](std::monostate) { return std::string(); },
                                  [](bool value) { return std::string(value ? "true" : "false"); },
                                  [](std::int64_t value) { return std::to_string(value); },
                                  [](double value) { return NumberText(value); },
                                  [](const std::string& value) { return CsvCell(value); }},
                       fields[i].value);
  }
  line += '\n';
  return line;
}

std::string CsvHeaderLine(const std::vector<LiveField>& fields) {
  std::string line;
  for (const LiveField& field : fields) {
    if (!line.empty()) {
      line += ',';
    }
    line += CsvCell(field.name);
  }
  line += '\n';
  return line;
}

}  // namespace halvane
