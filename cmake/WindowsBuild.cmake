# The Windows build (scripts/windows/build.sh): orbisk-cli.exe, the port library the Wine tests
# put beside it, and with Qt the desktop program. Everything lands in bin/ of the build folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# One copy of a program runs on its own: the C++ run-time and the threads library are linked in,
# so that no MinGW DLL has to travel with orbisk-cli.exe.
add_link_options(-static-libgcc -static-libstdc++)
# Unicode entry points (wmain) and the wide Win32 calls.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00)

add_subdirectory(tools/orbisk-cli)
target_link_options(orbisk-cli PRIVATE -municode -static)
add_subdirectory(tests/wine/port-library)
add_subdirectory(tests/wine/window-probe)

if(NOT ORBISK_CORE_ONLY)
  # The desktop program: the layers above added their qt/ folders against Qt for Windows (the
  # cache of scripts/windows/build-qt.sh); its shell is the target `orbisk`. On Windows its serial
  # line is link/Win32SerialLine, the one orbisk-cli.exe uses. The package (installer, portable
  # folder) is made by scripts/windows/package.sh.
  # A window program: no console opens beside it; Qt supplies the Windows entry point.
  set_target_properties(orbisk PROPERTIES WIN32_EXECUTABLE ON)
  # The screenshot program, which the desktop test runs beside the installed program so that it
  # uses the package's own DLLs, plugins, font and texts. Never part of the package.
  add_executable(orbisk-gui-bench ${PROJECT_SOURCE_DIR}/bench/gui/GuiBench.cpp)
  target_link_libraries(orbisk-gui-bench PRIVATE orbisk_app_qt)
endif()
