# The program's own texts for files the build makes beside it (the menu entry, the help
# document's name), read from their one definition in app/ProgramIdentity.h.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/app/ProgramIdentity.h)

# orbisk_app_text(kName VARIABLE): VARIABLE = the text of `inline constexpr char kName[] = "..."`.
function(orbisk_app_text name variable)
  file(STRINGS ${PROJECT_SOURCE_DIR}/app/ProgramIdentity.h line ENCODING UTF-8
    REGEX "^inline constexpr char ${name}\\[\\] = \"[^\"\\\\]*\";$")
  if(NOT line MATCHES "\"([^\"]*)\"")
    message(FATAL_ERROR "app/ProgramIdentity.h has no plain text ${name}")
  endif()
  set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
