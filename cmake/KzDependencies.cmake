# Every outside library the project links, found once here. scripts/setup
# installs the Debian packages that provide them.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(LibXml2 REQUIRED)
find_package(CURL REQUIRED)
find_package(ICU REQUIRED COMPONENTS uc i18n data)
find_package(Boost REQUIRED)
find_package(nlohmann_json REQUIRED)
find_package(CLI11 CONFIG REQUIRED)
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
# Only the tests and benchmarks need these; a packager's build goes without.
if(KZ_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(KZ_BENCH)
  find_package(benchmark QUIET)
endif()
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
# Debian's libcups2-dev ships no pkg-config file; cups-config is its interface.
find_library(CUPS_LIBRARY cups REQUIRED)
find_path(CUPS_INCLUDE_DIR cups/cups.h REQUIRED)
add_library(Cups::cups UNKNOWN IMPORTED)
set_target_properties(Cups::cups PROPERTIES IMPORTED_LOCATION ${CUPS_LIBRARY}
                      INTERFACE_INCLUDE_DIRECTORIES ${CUPS_INCLUDE_DIR})
# The native bridge is optional: without Qt 6 Widgets everything else still
# builds and the headless tool keeps working; with it (scripts/setup installs
# it) the bridge, its tests and the tool's window commands are built too.
option(KZ_QT "Build the Qt 6 Widgets bridge when Qt 6 is found" ON)
if(KZ_QT AND NOT KZ_FUZZ)
  find_package(Qt6 QUIET COMPONENTS Widgets Test)
endif()
