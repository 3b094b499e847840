# FTDI mode of the serial transport: the D2XX library bound at run time and the serial line on it.
target_sources(kxlf_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ftd2xx_port.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftdi_line.cpp
)
