# The black-box tests: the real Horalet.exe under Wine, looked at and driven from outside as a user would.
add_executable(winprobe tests/blackbox/winprobe.cpp)
target_link_libraries(winprobe PRIVATE user32 gdi32 version oleacc oleaut32 ole32)
target_include_directories(winprobe PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

add_test(NAME blackbox
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine python3
          ${CMAKE_CURRENT_SOURCE_DIR}/tests/blackbox/test_clock_window.py
          --exe $<TARGET_FILE:Horalet> --probe $<TARGET_FILE:winprobe> --refuser $<TARGET_FILE:refusetimer>
          --screenshot ${CMAKE_BINARY_DIR}/screenshot.png)
set_tests_properties(blackbox PROPERTIES TIMEOUT 300 LABELS blackbox RESOURCE_LOCK wine_session)

# Waits for real minutes to pass: each alarm is set for the next one. In a session of its own,
# so that the others go on meanwhile.
add_test(NAME blackbox_alarm
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine python3
          ${CMAKE_CURRENT_SOURCE_DIR}/tests/blackbox/test_alarm.py
          --exe $<TARGET_FILE:Horalet> --probe $<TARGET_FILE:winprobe>)
set_tests_properties(blackbox_alarm PROPERTIES TIMEOUT 700 LABELS blackbox COST 800
                     ENVIRONMENT "HORALET_WINE_READY=0")

add_test(NAME blackbox_viewer_font
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine python3
          ${CMAKE_CURRENT_SOURCE_DIR}/tests/blackbox/test_viewer_font.py
          --exe $<TARGET_FILE:Horalet> --probe $<TARGET_FILE:winprobe>
          --screenshot ${CMAKE_BINARY_DIR}/thicker-frame-viewer.png)
set_tests_properties(blackbox_viewer_font PROPERTIES TIMEOUT 300 LABELS blackbox RESOURCE_LOCK wine_session)

# A debugger that makes the platform refuse a program's window timer.
add_executable(refusetimer tests/blackbox/refusetimer.cpp)

# Libraries with the names of system ones, for the test that plants them beside the exe.
foreach(name winmm comdlg32 comctl32)
  add_library(planted_${name} SHARED tests/blackbox/planted.cpp)
  set_target_properties(planted_${name} PROPERTIES OUTPUT_NAME ${name} PREFIX ""
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
  # The exports carry the plain names an import asks for, without the stdcall suffix.
  target_link_options(planted_${name} PRIVATE -Wl,--kill-at)
endforeach()

# The release ZIP that scripts/build makes, unzipped into a fresh folder and run from there.
add_test(NAME blackbox_release
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine python3
          ${CMAKE_CURRENT_SOURCE_DIR}/tests/blackbox/test_release.py
          --exe $<TARGET_FILE:Horalet> --probe $<TARGET_FILE:winprobe>
          --zip ${CMAKE_BINARY_DIR}/${release_name}.zip --version ${PROJECT_VERSION} Release)
set_tests_properties(blackbox_release PROPERTIES TIMEOUT 300 LABELS blackbox RESOURCE_LOCK wine_session)

# The whole in-process suite, as a Windows user runs it: the self-test's ZIP unzipped into a fresh
# folder and started without arguments, as on the test machine and as on a user's Windows. Wine
# starts slowly, so the suite is one test; it times real timers, so it runs first, alone.
add_test(NAME wine_tests
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine python3
          ${CMAKE_CURRENT_SOURCE_DIR}/tests/blackbox/test_release.py
          --exe $<TARGET_FILE:Horalet> --probe $<TARGET_FILE:winprobe>
          --selftest-zip ${selftest_zip} --version ${PROJECT_VERSION} SelfTest)
set_tests_properties(wine_tests PROPERTIES TIMEOUT 1500 LABELS wine ENVIRONMENT "LANG=en_US.UTF-8"
                     RUN_SERIAL ON COST 1000)

# The locale and resolution matrix, each case in a Wine session of its own, side by side.
add_test(NAME matrix
  COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/tests/blackbox/matrix.py
          --exe $<TARGET_FILE:Horalet> --probe $<TARGET_FILE:winprobe> --out ${CMAKE_BINARY_DIR}/matrix)
set_tests_properties(matrix PROPERTIES TIMEOUT 3600 LABELS blackbox COST 900)

# The bare seconds clock the benchmark measures the program against.
add_executable(bareclock WIN32 tests/bench/bareclock.cpp)
target_link_options(bareclock PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
