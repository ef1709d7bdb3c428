# The Windows build: Brovantine.exe and the tests that run under Wine.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# One static file with no runtime DLLs to install.
set(BRV_STATIC_LINK -static -static-libgcc -static-libstdc++ -municode)

file(GLOB WIN_SOURCES CONFIGURE_DEPENDS registry/*_win.cpp files/*_win.cpp app/win32/*_win.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "main_win\\.cpp$")
add_library(brv_win STATIC ${WIN_SOURCES})
target_link_libraries(brv_win PUBLIC brv_core shlwapi comctl32 gdi32 user32 shell32 advapi32)

add_executable(Brovantine WIN32 app/win32/main_win.cpp app/win32/brovantine.rc)
target_link_libraries(Brovantine PRIVATE brv_win)
target_compile_options(brv_core PRIVATE -Os -ffunction-sections -fdata-sections)
target_compile_options(brv_win PRIVATE -Os -ffunction-sections -fdata-sections)
target_link_options(Brovantine PRIVATE ${BRV_STATIC_LINK} -s -Wl,--gc-sections -Wl,--no-insert-timestamp)
# The same bytes from any folder: no source or build path in the program
# (the build folder's map last, as it may lie inside the source folder).
foreach(target brv_core brv_win Brovantine)
  target_compile_options(${target} PRIVATE
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
endforeach()
# The manifest with the project's version; the resource finds it on the
# include path (the generated folder).
configure_file(app/win32/brovantine.manifest
  ${CMAKE_BINARY_DIR}/generated/Brovantine.exe.manifest @ONLY)
set_source_files_properties(app/win32/brovantine.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/app/win32/brovantine.ico;${CMAKE_BINARY_DIR}/generated/Brovantine.exe.manifest")

# GoogleTest from its sources (Debian's googletest package puts them in
# /usr/src/googletest), built by the cross compiler.
find_path(BRV_GOOGLETEST_SOURCE_DIR NAMES googletest/src/gtest-all.cc
  HINTS ENV GOOGLETEST_SOURCE_DIR
  PATHS /usr/src/googletest /usr/local/src/googletest /usr/share/googletest
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  DOC "GoogleTest's source folder (the one holding googletest/ and CMakeLists.txt)")
if(NOT BRV_GOOGLETEST_SOURCE_DIR)
  message(FATAL_ERROR "GoogleTest's sources were not found: install Debian's googletest "
    "package (scripts/setup.sh does) or set BRV_GOOGLETEST_SOURCE_DIR")
endif()
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${BRV_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main)
  target_compile_options(${target} PRIVATE -w)
endforeach()

# The registry conformance cases and the panel scenarios run here on the real
# registry and window, natively on memory.
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/windows/*.cpp tests/conformance/*.cpp
  tests/panels/*.cpp tests/support/panel_driver.cpp tests/support/registry_fixture.cpp)
# The tests carry the program's icon too, for the About window's picture.
add_executable(brovantine_wintests ${WIN_TEST_SOURCES} tests/windows/wintests.rc)
target_include_directories(brovantine_wintests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# Where the tests find their helper scripts (a path on the host).
target_compile_definitions(brovantine_wintests PRIVATE BRV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
set_source_files_properties(tests/windows/wintests.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/app/win32/brovantine.ico;${CMAKE_BINARY_DIR}/generated/Brovantine.exe.manifest")
target_link_libraries(brovantine_wintests PRIVATE brv_win gtest gtest_main oleacc oleaut32 ole32)
target_link_options(brovantine_wintests PRIVATE -static -static-libgcc -static-libstdc++)
include(GoogleTest)
# One ctest per test case, each its own Wine process through cmake/wine-run.sh
# (the cross-compiling emulator). Listed when ctest runs, where Wine has its
# prefix; the first listing also makes the prefix.
gtest_discover_tests(brovantine_wintests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
  PROPERTIES TIMEOUT 300)

# Benchmarks under Wine (scripts/bench.sh), and a trivial window program to
# compare the start-up with.
file(GLOB BENCH_CASES CONFIGURE_DEPENDS bench/*_bench.cpp)
add_executable(brovantine_winbench bench/main_win.cpp bench/bench.cpp ${BENCH_CASES})
target_link_libraries(brovantine_winbench PRIVATE brv_win)
target_link_options(brovantine_winbench PRIVATE ${BRV_STATIC_LINK})
add_executable(trivial_window WIN32 tools/trivial_window_win.cpp)
target_link_options(trivial_window PRIVATE ${BRV_STATIC_LINK})
# And a program that shows only the start-up note, with the same manifest
# (after plain controls like the main window's, when asked).
add_executable(bare_note WIN32 tools/bare_note_win.cpp tools/bare_note.rc)
target_link_libraries(bare_note PRIVATE brv_core comctl32)
target_link_options(bare_note PRIVATE ${BRV_STATIC_LINK} -s -Wl,--gc-sections)
set_source_files_properties(tools/bare_note.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_BINARY_DIR}/generated/Brovantine.exe.manifest")

# Screenshots: answers the start-up note and reports where the window is.
add_executable(dismiss_note tools/dismiss_note_win.cpp)
target_link_options(dismiss_note PRIVATE ${BRV_STATIC_LINK})

# Reports its own path; the Windows tests run copies of it from long paths.
add_executable(program_path_probe tools/program_path_probe_win.cpp)
target_link_libraries(program_path_probe PRIVATE brv_win)
target_link_options(program_path_probe PRIVATE ${BRV_STATIC_LINK})
add_dependencies(brovantine_wintests program_path_probe Brovantine)
# The tests read the reports back with Debian's header-only JSON library,
# found through a folder of its own (not the host's whole include folder).
find_path(BRV_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT BRV_JSON_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp was not found: install Debian's nlohmann-json3-dev "
    "package (scripts/setup.sh does)")
endif()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/json-include)
file(CREATE_LINK ${BRV_JSON_INCLUDE}/nlohmann ${CMAKE_BINARY_DIR}/json-include/nlohmann SYMBOLIC)
target_include_directories(brovantine_wintests SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/json-include)
include(cmake/testfiles.cmake)
add_dependencies(brovantine_wintests test_samples)
target_compile_definitions(brovantine_wintests PRIVATE BRV_TESTFILES_DIR="${BRV_TESTFILES}")

# The help page ships beside the program; Help opens it from there.
configure_file(app/help/brovantine-help.html ${CMAKE_BINARY_DIR}/brovantine-help.html COPYONLY)
install(TARGETS Brovantine RUNTIME DESTINATION .)
install(FILES app/help/brovantine-help.html DESTINATION .)
