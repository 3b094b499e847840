# Writes one manual page from a program's --help with help2man, compressed as Debian keeps them.
# -DHELP2MAN= -DGZIP= -DPROGRAM= -DNAME=<one-line description> -DVERSION= -DINCLUDE=<file or empty>
# -DOUTPUT=<page>.1.gz
set(include_option "")
if(INCLUDE)
  set(include_option --include=${INCLUDE})
endif()
get_filename_component(page ${OUTPUT} NAME_WLE)
get_filename_component(work ${OUTPUT} DIRECTORY)
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1 --name=${NAME}
          --version-string=${VERSION} ${include_option} --output=${work}/${page} ${PROGRAM}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "help2man could not read the help of ${PROGRAM}")
endif()
# -n: no time stamp in the archive, so that the same page gives the same file.
execute_process(COMMAND ${GZIP} -9nf ${work}/${page} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${page}")
endif()
