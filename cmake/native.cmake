# The native build: the portable core, its unit tests and benchmarks.
if(BRV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp tests/conformance/*.cpp
  tests/panels/*.cpp tests/support/*.cpp)
add_executable(brovantine_tests ${NATIVE_TEST_SOURCES})
target_include_directories(brovantine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(brovantine_tests PRIVATE brv_core GTest::gtest GTest::gtest_main)
target_compile_definitions(brovantine_tests PRIVATE BRV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  BRV_BINARY_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(brovantine_tests make_icon)
include(cmake/testfiles.cmake)
add_dependencies(brovantine_tests test_samples)
target_compile_definitions(brovantine_tests PRIVATE BRV_TESTFILES_DIR="${BRV_TESTFILES}")
include(GoogleTest)
# One ctest per test case, listed from the binary after each build.
gtest_discover_tests(brovantine_tests)

add_executable(make_icon tools/make_icon.cpp)

# Benchmarks: build them without sanitizers (scripts/bench.sh does).
file(GLOB BENCH_CASES CONFIGURE_DEPENDS bench/*_bench.cpp)
add_executable(brovantine_bench bench/main.cpp bench/bench.cpp ${BENCH_CASES}
  tests/support/memory_form.cpp)
target_include_directories(brovantine_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(brovantine_bench PRIVATE brv_core)
