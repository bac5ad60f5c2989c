# Windows build: Horalet.exe, the files shipped beside it, and the tests that run under Wine.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Everything is linked in, so that nothing but the system's own DLLs travels with the exe;
# each function in a section of its own lets the linker leave out what nothing calls. All of
# the program's code runs on its window thread, so a static made at first use takes no lock.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
add_compile_options(-ffunction-sections -fdata-sections -fno-threadsafe-statics)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)

add_library(horalet_win32 STATIC
  app/application.cpp
  app/power.cpp
  clock/Timelabel.cpp
  clock/localetime.cpp
  clock/periodictimer.cpp
  sound/chime.cpp
  sound/soundplayer.cpp
  ui/alarm.cpp
  ui/geometry.cpp
  ui/mytime1.cpp
  ui/setfont.cpp
  ui/viewer.cpp
  widgets/accessible.cpp
  widgets/namedaccessible.cpp
  widgets/button.cpp
  widgets/element.cpp
  widgets/elementwindow.cpp
  widgets/editfield.cpp
  widgets/font.cpp
  widgets/fontchooser.cpp
  widgets/groupbox.cpp
  widgets/label.cpp
  widgets/listbox.cpp
  widgets/longpath.cpp
  widgets/menu.cpp
  widgets/modalscope.cpp
  widgets/msgwindow.cpp
  widgets/spinner.cpp
  widgets/systemlibrary.cpp
)
# comctl32, comdlg32 and winmm are loaded from the system folder at run time, not imported.
target_link_libraries(horalet_win32 PUBLIC horalet_core gdi32 user32 kernel32 uuid)

# The icon is kept as a character grid and drawn into an .ico at build time.
set(icon ${CMAKE_CURRENT_BINARY_DIR}/res/mainicon.ico)
add_custom_command(
  OUTPUT ${icon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/res
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/grid2ico.py
          ${CMAKE_CURRENT_SOURCE_DIR}/res/mainicon.grid ${icon}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/mainicon.grid ${CMAKE_CURRENT_SOURCE_DIR}/tools/grid2ico.py
  COMMENT "Drawing the main icon"
)
# The chime the exe carries, made by the tool that makes the alarm sound.
set(built_in_chime ${CMAKE_CURRENT_BINARY_DIR}/res/chime.wav)
add_custom_command(
  OUTPUT ${built_in_chime}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/res
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/chime.py --built-in ${built_in_chime}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/chime.py
  COMMENT "Synthesising the built-in chime"
)
add_custom_target(horalet_icon DEPENDS ${icon} ${built_in_chime})
# The version record and the manifest take the project's version.
configure_file(res/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/res/version.h @ONLY)
configure_file(res/horalet.manifest.in ${CMAKE_CURRENT_BINARY_DIR}/res/horalet.manifest @ONLY)
set_source_files_properties(res/horalet.rc PROPERTIES OBJECT_DEPENDS
  "${icon};${built_in_chime};${CMAKE_CURRENT_BINARY_DIR}/res/horalet.manifest;${CMAKE_CURRENT_BINARY_DIR}/res/version.h")

# The files the program reads from its own folder are made beside the exe.
set(chime ${CMAKE_CURRENT_BINARY_DIR}/alarm.wav)
add_custom_command(
  OUTPUT ${chime}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/chime.py ${chime}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/chime.py
  COMMENT "Synthesising the alarm sound"
)
set(shipped_files)
foreach(name help.txt help1.txt help2.txt help3.txt help4.txt help5.txt)
  add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/shipped/${name} ${CMAKE_CURRENT_BINARY_DIR}/${name}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/shipped/${name}
  )
  list(APPEND shipped_files ${CMAKE_CURRENT_BINARY_DIR}/${name})
endforeach()
# The about text and the readme say the version, with Windows line ends.
foreach(name about.txt readme.txt)
  configure_file(shipped/${name}.in ${CMAKE_CURRENT_BINARY_DIR}/${name} @ONLY NEWLINE_STYLE CRLF)
  list(APPEND shipped_files ${CMAKE_CURRENT_BINARY_DIR}/${name})
endforeach()
add_custom_target(horalet_files ALL DEPENDS ${chime} ${shipped_files})

add_executable(Horalet WIN32 app/main.cpp res/horalet.rc)
add_dependencies(Horalet horalet_icon horalet_files)
target_include_directories(Horalet PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/res ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_link_libraries(Horalet PRIVATE horalet_win32)
# The release: a ZIP of the exe and the files beside it, unzipped and run anywhere.
install(TARGETS Horalet RUNTIME DESTINATION .)
install(FILES ${chime} ${shipped_files} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Horalet)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(release_name Horalet-${PROJECT_VERSION}-win64)
else()
  set(release_name Horalet-${PROJECT_VERSION}-win32)
endif()
set(CPACK_PACKAGE_FILE_NAME ${release_name})
include(CPack)

# The shipped exe carries no symbols.
target_link_options(Horalet PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)

# In-process tests under Wine: the real window and widgets, driven with messages.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
add_executable(wine_tests
  tests/wine/main.cpp
  tests/wine/harness.cpp
  tests/wine/form_test.cpp
  tests/wine/running_test.cpp
  tests/wine/failure_test.cpp
  tests/wine/scaling_test.cpp
  tests/wine/alarm_test.cpp
  tests/wine/ringing_test.cpp
  tests/wine/fontviewer_test.cpp
  tests/wine/selftest.cpp
  res/horalet.rc
)
add_dependencies(wine_tests horalet_icon horalet_files)
# It is also the self-test that a Windows user runs, and its report names no folder of ours.
set_target_properties(wine_tests PROPERTIES OUTPUT_NAME HoraletSelfTest)
target_compile_options(wine_tests PRIVATE -fmacro-prefix-map=${CMAKE_CURRENT_SOURCE_DIR}/=)
target_include_directories(wine_tests PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/res ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_link_libraries(wine_tests PRIVATE horalet_win32 gtest winmm oleacc oleaut32 ole32)

# The self-test's own ZIP: the suite and the files it reads, in one versioned folder.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(selftest_name Horalet-${PROJECT_VERSION}-selftest-win64)
else()
  set(selftest_name Horalet-${PROJECT_VERSION}-selftest-win32)
endif()
set(selftest_zip ${CMAKE_CURRENT_BINARY_DIR}/${selftest_name}.zip)
set(selftest_stage ${CMAKE_CURRENT_BINARY_DIR}/selftest)
add_custom_command(
  OUTPUT ${selftest_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${selftest_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${selftest_stage}/${selftest_name}
  COMMAND ${CMAKE_STRIP} -o ${selftest_stage}/${selftest_name}/HoraletSelfTest.exe $<TARGET_FILE:wine_tests>
  COMMAND ${CMAKE_COMMAND} -E copy ${chime} ${shipped_files} ${selftest_stage}/${selftest_name}
  COMMAND ${CMAKE_COMMAND} -E chdir ${selftest_stage} ${CMAKE_COMMAND} -E tar cf ${selftest_zip} --format=zip ${selftest_name}
  DEPENDS wine_tests ${chime} ${shipped_files}
  COMMENT "Packing the self-test"
)
add_custom_target(selftest_zip ALL DEPENDS ${selftest_zip})

# The same executable on displays of 120, 144 and 192 pixels per inch, which a process takes
# at its start.
foreach(ppi 120 144 192)
  add_test(NAME wine_tests_${ppi}dpi
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine ${CMAKE_CURRENT_SOURCE_DIR}/scripts/at-resolution ${ppi}
            $<TARGET_FILE:wine_tests> --gtest_filter=Scaling.*)
  set_tests_properties(wine_tests_${ppi}dpi PROPERTIES TIMEOUT 300 LABELS wine RESOURCE_LOCK wine_session)
endforeach()

# The alarm on a machine whose sound output cannot be opened: the play fails, nothing spins.
add_test(NAME wine_tests_no_sound
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/with-wine ${CMAKE_CURRENT_SOURCE_DIR}/scripts/without-sound
          ${CMAKE_CURRENT_SOURCE_DIR}/scripts/wine $<TARGET_FILE:wine_tests> --gtest_filter=NoSoundDevice.*)
set_tests_properties(wine_tests_no_sound PROPERTIES TIMEOUT 300 LABELS wine ENVIRONMENT "LANG=en_US.UTF-8"
                     RESOURCE_LOCK wine_session)
# The tests share the Wine session that scripts/test makes, one at a time (wine_session), but
# for those that make sessions of their own (the matrix, the alarm), which run beside them.

# Black-box tests of the real exe, driven from outside as a user would.
include(cmake/blackbox.cmake OPTIONAL)
