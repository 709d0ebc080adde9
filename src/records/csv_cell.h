#pragma once
// One cell of a comma-separated file, quoted as spreadsheets read it: a text holding a comma, a
// quote or a line break is put in quotes with its quotes doubled; any other stands as it is.

#include <string>
#include <string_view>

namespace halvane {

std::string CsvCell(std::string_view text);

}  // namespace halvane
