# Reader identity, command codes, unique codes, transponder types and operations, port names and
# string lists: pure code that the connection, the registry and the emulator share.
target_sources(kxlf_protocol PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/link/reader_identity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link/unique_code.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link/transponder_operations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link/transponder_types.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transport/port_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transport/string_list.cpp
)
