# A build from scratch on a small machine is dominated by parsing the same heavy headers (Qt,
# QCustomPlot, GoogleTest, CLI11, nlohmann-json) again for every source file: 3 to 8 seconds
# each, more than most of our files take to compile. A unity build compiles each target's
# sources as one translation unit, so each target parses them once. Precompiled headers were
# measured too: GCC writes a 170 MB file for the Qt headers we use, which costs three parses,
# and with one unit a target there is nothing left for them to save.
option(HALVANE_UNITY "Compile each target's sources as one translation unit (unity build)" ON)
if(HALVANE_UNITY)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 0)
endif()

# GNU ld takes over a second for each of our larger programs, lld a quarter of that; with some
# sixty programs in a test run that is half a minute. GNU ld stays where lld is missing, and for
# Windows builds.
if(NOT WIN32)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=lld HALVANE_HAVE_LLD)
  if(HALVANE_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()
