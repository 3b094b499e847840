# Reader answers from the wire: frame decoding, version evaluation, unique codes.
kx_add_fuzzer(sdk_answer_fuzz ${CMAKE_CURRENT_LIST_DIR}/sdk_answer_fuzz.cpp)
target_link_libraries(sdk_answer_fuzz PRIVATE kxlf_protocol)
