# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix, the POSIX
# thread model that std::thread needs). The C++ runtime is linked in statically, so the programs
# run on a bare Windows, or under Wine, without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CLI11, nlohmann-json and hidapi's header are portable header-only code that Debian installs
# for the build machine alone, in /usr/include beside Linux's C library headers, which the
# cross compiler must never see. A root in the build folder shows it those three and nothing
# else.
set(halvane_portable_root "${CMAKE_BINARY_DIR}/portable-headers")
foreach(entry include/CLI include/nlohmann include/hidapi share/cmake/CLI11 share/cmake/nlohmann_json)
  get_filename_component(parent "${halvane_portable_root}/${entry}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK "/usr/${entry}" "${halvane_portable_root}/${entry}" SYMBOLIC)
endforeach()
set(CLI11_DIR "${halvane_portable_root}/share/cmake/CLI11")
set(nlohmann_json_DIR "${halvane_portable_root}/share/cmake/nlohmann_json")

# Libraries and headers of the target alone; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${halvane_portable_root}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
