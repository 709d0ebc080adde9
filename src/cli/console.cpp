#include "cli/console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#endif

namespace halvane {

#ifdef _WIN32
namespace {

std::string Utf8Of(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating NUL
  return utf8;
}

UINT previous_output_code_page = 0;

void RestoreConsoleCodePage() {
  SetConsoleOutputCP(previous_output_code_page);
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = count - 1; i >= 1; --i) {
    arguments.push_back(Utf8Of(wide[i]));
  }
  LocalFree(wide);
  return arguments;
}

void PrepareStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  previous_output_code_page = GetConsoleOutputCP();
  if (previous_output_code_page != 0 && SetConsoleOutputCP(CP_UTF8)) {
    std::atexit(RestoreConsoleCodePage);
  }
}
#else
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = argc - 1; i >= 1; --i) {
    arguments.emplace_back(argv[i]);
  }
  return arguments;
}

void PrepareStandardStreams() {}
#endif

}  // namespace halvane
