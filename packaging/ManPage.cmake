# Makes a manual page from its template: @VERSION@ and @DATE@ become the package's version and
# the month of the build (SOURCE_DATE_EPOCH, when set, fixes it), and @USAGE@ the usage text
# PROGRAM prints for --help, line by line as it stands, so the page's synopsis cannot drift from
# the program.
#
#   cmake -DTEMPLATE=NAME.1.in -DOUTPUT=NAME.1 -DVERSION=X.Y.Z [-DPROGRAM=PATH] -P ManPage.cmake
foreach(variable TEMPLATE OUTPUT VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "ManPage.cmake: ${variable} is not given")
  endif()
endforeach()

if(DEFINED PROGRAM)
  # A program that prints its usage on the error stream, with a failure status, is read the same.
  execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE out ERROR_VARIABLE err)
  get_filename_component(name ${PROGRAM} NAME)
  set(usage "${out}${err}")
  if(NOT usage MATCHES "^[Uu]sage: ${name} ")
    message(FATAL_ERROR "ManPage.cmake: ${name} --help printed no usage:\n${usage}")
  endif()
  string(REGEX REPLACE "^[Uu]sage: " "" usage "${usage}")
  string(REGEX REPLACE "\n+$" "" usage "${usage}")
  # Backslashes and hyphens as troff wants them; a line may not start a request.
  string(REPLACE "\\" "\\e" usage "${usage}")
  string(REPLACE "-" "\\-" usage "${usage}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" usage "${usage}")
  set(USAGE "${usage}")
endif()

string(TIMESTAMP DATE "%B %Y" UTC)
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
