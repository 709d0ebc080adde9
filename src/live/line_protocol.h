#pragma once
// One line of the line protocol that InfluxDB and VictoriaMetrics take on /write:
//   measurement,tag=value,... field=value,... timestamp
// Tags and fields may be given in any order; the text puts them where they belong and escapes
// what would end a name or a value.

#include <cstdint>
#include <string>
#include <string_view>

namespace halvane {

class LineProtocolLine {
 public:
  explicit LineProtocolLine(std::string_view measurement);

  // An empty value is left out: the protocol has no empty tags.
  LineProtocolLine& Tag(std::string_view key, std::string_view value);
  // A value that is not finite is left out: the protocol has no text for it.
  LineProtocolLine& Field(std::string_view key, double value);
  LineProtocolLine& Field(std::string_view key, std::int64_t value);
  LineProtocolLine& Field(std::string_view key, bool value);
  LineProtocolLine& Field(std::string_view key, std::string_view text);

  // The line with its time stamp in nanoseconds since 1970 and a newline; empty when it has no
  // field, since such a line is refused by the servers.
  std::string Text(std::int64_t timestamp_ns) const;

 private:
  LineProtocolLine& AddField(std::string_view key, std::string_view value_text);

  std::string head_;  // measurement and tags
  std::string fields_;
};

}  // namespace halvane
