# Writes a man page from its template and the program's own help, so that the page lists the
# options the program really takes. Run as a script:
#   cmake -DPROGRAM=exe -DTEMPLATE=page.1.in -DOUTPUT=page.1 -DVERSION=x.y.z
#         -DHELP_ARGS="--help|run --help" -P man_page.cmake
# Every entry of HELP_ARGS is one call of the program (its words separated by blanks); the texts
# stand one after the other, as literal blocks, where the template says @HELP@.
set(HELP "")
string(REPLACE "|" ";" HELP_ARGS "${HELP_ARGS}")
foreach(call IN LISTS HELP_ARGS)
  separate_arguments(words UNIX_COMMAND "${call}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C QT_QPA_PLATFORM=offscreen
                          "${PROGRAM}" ${words}
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${call} ended with status ${status}")
  endif()
  get_filename_component(name "${PROGRAM}" NAME)
  string(REPLACE "${PROGRAM}" "${name}" text "${text}")  # "Usage: ostrel", not the build path
  # roff: a backslash is written \e, a minus \-, and a line may not start with a dot or quote.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(STRIP "${text}" text)
  string(REPLACE "--help" "" heading "${name} ${call}")
  string(STRIP "${heading}" heading)
  string(REPLACE "-" "\\-" heading "${heading}")
  string(APPEND HELP ".SS ${heading}\n.nf\n${text}\n.fi\n")
endforeach()
string(STRIP "${HELP}" HELP)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
