# Pure protocol code, tested without a reader.
add_executable(sdk_protocol_tests
  ${CMAKE_CURRENT_LIST_DIR}/reader_identity_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unique_code_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transponder_operations_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transponder_types_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../transport/port_name_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../transport/string_list_test.cpp
)
target_link_libraries(sdk_protocol_tests PRIVATE kxlf_protocol GTest::gtest_main)
gtest_discover_tests(sdk_protocol_tests)
