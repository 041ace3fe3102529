# The Windows build (scripts/windows/build.sh): orbisk-cli.exe, the port library the Wine tests
# put beside it, and with Qt the desktop program. Everything lands in bin/ of the build folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Unicode entry points (wmain) and the wide Win32 calls.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00)

add_subdirectory(tools/orbisk-cli)
# orbisk-cli.exe runs on its own: the C++ run-time and the threads library are linked in, so
# that no MinGW DLL has to travel with it. The desktop program takes them from the DLLs that
# Qt's own need and the package carries, so that one run-time serves the program and Qt.
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
  # The program's icon in its file, which Explorer, the Start menu and the data files show: the
  # sizes Windows asks for, drawn from the same picture as the Linux icon.
  enable_language(RC)
  find_program(ORBISK_RSVG_CONVERT rsvg-convert REQUIRED DOC "Draws the icon's sizes")
  find_program(ORBISK_ICOTOOL icotool REQUIRED DOC "Gathers them into the .ico (icoutils)")
  set(app_icon ${PROJECT_SOURCE_DIR}/resources/icons/app.svg)
  set(icon_pngs)
  foreach(size 16 24 32 48 64 256)
    set(png ${CMAKE_BINARY_DIR}/icon/orbisk-${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
      COMMAND ${ORBISK_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${app_icon}
      DEPENDS ${app_icon} VERBATIM)
    list(APPEND icon_pngs ${png})
  endforeach()
  # The large size stays PNG inside the .ico, as Windows keeps it; the small ones become bitmaps.
  set(icon_large ${icon_pngs})
  list(FILTER icon_large INCLUDE REGEX "-256\\.png$")
  set(icon_small ${icon_pngs})
  list(FILTER icon_small EXCLUDE REGEX "-256\\.png$")
  set(ico ${CMAKE_BINARY_DIR}/icon/orbisk.ico)
  add_custom_command(OUTPUT ${ico}
    COMMAND ${ORBISK_ICOTOOL} --create --output=${ico} --raw=${icon_large} ${icon_small}
    DEPENDS ${icon_pngs} VERBATIM)
  file(WRITE ${CMAKE_BINARY_DIR}/icon/orbisk.rc "1 ICON \"${ico}\"\n")
  # The program is a target of desktop/qt, and a custom command's output only reaches targets of
  # its own folder: the icon is a target of its own that the program waits for.
  add_custom_target(orbisk_icon DEPENDS ${ico})
  add_dependencies(orbisk orbisk_icon)
  target_sources(orbisk PRIVATE ${CMAKE_BINARY_DIR}/icon/orbisk.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/icon/orbisk.rc TARGET_DIRECTORY orbisk
    PROPERTIES OBJECT_DEPENDS ${ico})
  # The screenshot program, which the desktop test runs beside the installed program so that it
  # uses the package's own DLLs, plugins, font and texts. Never part of the package.
  add_executable(orbisk-gui-bench ${PROJECT_SOURCE_DIR}/bench/gui/GuiBench.cpp)
  target_link_libraries(orbisk-gui-bench PRIVATE orbisk_desktop)
endif()
