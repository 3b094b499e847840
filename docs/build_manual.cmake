# Typesets the manual in two runs of groff: the first collects the headings with their page
# numbers, the second puts the table of contents behind the title page. The body's pages are
# numbered from 1 after the contents, so the numbers of the first run stay true in the second.
#
# -DGROFF=groff -DSOURCE=file.ms -DPICTURES=a.pdf|b.pdf -DVERSION=x.y.z -DWORK_DIR=dir
# -DOUTPUT=file.pdf
cmake_minimum_required(VERSION 3.25)

foreach(variable GROFF SOURCE PICTURES VERSION WORK_DIR OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "build_manual.cmake needs -D${variable}=...")
  endif()
endforeach()

# gropdf scales a picture to the size it is given; the source only names the width, so the
# height follows from each picture's own page size.
string(REPLACE "|" ";" pictures "${PICTURES}")
set(picture_options)
set(number 0)
foreach(picture IN LISTS pictures)
  math(EXPR number "${number} + 1")
  file(STRINGS "${picture}" media_box REGEX "/MediaBox" LIMIT_COUNT 1)
  if(NOT media_box MATCHES "/MediaBox *\\[ *0 +0 +([0-9.]+) +([0-9.]+) *\\]")
    message(FATAL_ERROR "no page size found in ${picture}")
  endif()
  set(width "${CMAKE_MATCH_1}")
  set(height "${CMAKE_MATCH_2}")
  # Whole points are exact enough for the aspect ratio.
  string(REGEX REPLACE "\\..*" "" width "${width}")
  string(REGEX REPLACE "\\..*" "" height "${height}")
  list(APPEND picture_options "-dBild${number}=${picture}" "-rBild${number}B=${width}"
       "-rBild${number}H=${height}")
endforeach()

set(contents "${WORK_DIR}/inhalt.ms")
set(first_run "${WORK_DIR}/erster_lauf.pdf")
get_filename_component(source_dir "${SOURCE}" DIRECTORY)
set(groff_command "${GROFF}" -Tpdf -Kutf8 -t -ms -dpaper=a4 -P-pa4 -I "${source_dir}"
    "-dVersion=${VERSION}" "-dInhalt=${contents}" ${picture_options} "${SOURCE}")

# Groff reports each heading on its error stream as "inhalt|level|page|title".
function(run_groff output_file result_variable)
  execute_process(COMMAND ${groff_command} OUTPUT_FILE "${output_file}"
                  ERROR_VARIABLE messages RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "groff failed (${result}):\n${messages}")
  endif()
  set(${result_variable} "${messages}" PARENT_SCOPE)
endfunction()

file(WRITE "${contents}" "")
run_groff("${first_run}" messages)

string(REPLACE "\n" ";" lines "${messages}")
set(entries "")
set(others "")
foreach(line IN LISTS lines)
  if(line MATCHES "^inhalt\\|([12])\\|([0-9]+)\\|(.*)$")
    string(APPEND entries ".Eintrag ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} \"${CMAKE_MATCH_3}\"\n")
  elseif(NOT line STREQUAL "")
    string(APPEND others "${line}\n")
  endif()
endforeach()
if(entries STREQUAL "")
  message(FATAL_ERROR "the first groff run reported no headings:\n${messages}")
endif()
if(NOT others STREQUAL "")
  message(WARNING "groff:\n${others}")
endif()
file(WRITE "${contents}" "${entries}")

run_groff("${OUTPUT}.tmp" messages)
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
file(REMOVE "${first_run}")
