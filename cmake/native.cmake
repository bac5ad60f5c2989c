# Native build: unit tests of the logic that needs no Windows, under ASan and UBSan.
find_package(GTest REQUIRED)

option(HORALET_SANITIZE "Build native tests with AddressSanitizer and UBSan" ON)
if(HORALET_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(horalet_core PRIVATE ${sanitizers})
endif()

add_executable(unit_tests
  tests/unit/alarmtext_test.cpp
  tests/unit/fontlines_test.cpp
  tests/unit/names_test.cpp
  tests/unit/timeparse_test.cpp
  tests/unit/timetext_test.cpp
)
target_link_libraries(unit_tests PRIVATE horalet_core GTest::gtest_main)
if(HORALET_SANITIZE)
  target_compile_options(unit_tests PRIVATE ${sanitizers})
  target_link_options(unit_tests PRIVATE ${sanitizers})
endif()

include(GoogleTest)
gtest_discover_tests(unit_tests)
