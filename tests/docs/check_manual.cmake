# Checks the built manual: it is the only PDF beside the program (F1 opens the first one found),
# it starts like a PDF and ends like a complete one, it has at least MIN_PAGES pages, and it
# carries the PICTURES window pictures and a table of contents in its outline.
#
# -DPROGRAM_DIR=dir -DMANUAL=name.pdf -DMIN_PAGES=n -DPICTURES=n
cmake_minimum_required(VERSION 3.25)

set(manual "${PROGRAM_DIR}/${MANUAL}")
if(NOT EXISTS "${manual}")
  message(FATAL_ERROR "no manual at ${manual}")
endif()

file(GLOB pdfs "${PROGRAM_DIR}/*.pdf" "${PROGRAM_DIR}/*.PDF")
list(LENGTH pdfs pdf_count)
if(NOT pdf_count EQUAL 1)
  message(FATAL_ERROR "F1 opens the first PDF it finds, but ${PROGRAM_DIR} holds ${pdf_count}: ${pdfs}")
endif()

# "%PDF-" in hexadecimal, so that no byte of the file is taken for CMake syntax.
file(READ "${manual}" head LIMIT 5 HEX)
if(NOT head STREQUAL "255044462d")
  message(FATAL_ERROR "${manual} does not start as a PDF (first bytes ${head})")
endif()

file(SIZE "${manual}" size)
math(EXPR tail_offset "${size} - 32")
file(READ "${manual}" tail OFFSET ${tail_offset} HEX)
# "%%EOF"
if(NOT tail MATCHES "2525454f46")
  message(FATAL_ERROR "${manual} is cut short: no %%EOF at its end")
endif()

# Pages are "/Type /Page" objects; the page tree itself is "/Type /Pages".
file(STRINGS "${manual}" page_lines REGEX "/Type */Page([^s]|$)")
set(pages 0)
foreach(line IN LISTS page_lines)
  string(REGEX MATCHALL "/Type */Page([^s]|$)" found "${line}")
  list(LENGTH found count)
  math(EXPR pages "${pages} + ${count}")
endforeach()
if(pages LESS MIN_PAGES)
  message(FATAL_ERROR "${manual} has ${pages} pages, expected at least ${MIN_PAGES}")
endif()

# Each window picture becomes a form object of its own.
file(STRINGS "${manual}" forms REGEX "/Subtype */Form")
list(LENGTH forms form_count)
if(form_count LESS PICTURES)
  message(FATAL_ERROR "${manual} holds ${form_count} pictures, expected ${PICTURES}")
endif()

file(STRINGS "${manual}" outlines REGEX "/Outlines")
if(outlines STREQUAL "")
  message(FATAL_ERROR "${manual} has no outline (bookmarks of the chapters)")
endif()

message(STATUS "${manual}: ${size} bytes, ${pages} pages, ${form_count} pictures")
