#pragma once
// The command line and the standard streams as the commands expect them on every system: the
// arguments in UTF-8, and standard output and error passing bytes on as they are (no CR put
// before a line end, UTF-8 shown as such on a Windows console).

#include <string>
#include <vector>

namespace halvane {

// The arguments after the program's name in UTF-8, last first as CLI11 takes them. On Windows
// they are read as the system passed them, in UTF-16, so that no letter is lost to the ANSI
// code page that `argv` went through.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Sets up standard output and error; on Windows the console's code page is restored at exit.
void PrepareStandardStreams();

}  // namespace halvane
