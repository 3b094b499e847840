# Write texts and read bytes of any shape through every conversion of the data formats.
kx_add_fuzzer(convert_fuzz ${CMAKE_CURRENT_LIST_DIR}/convert_fuzz.cpp)
target_link_libraries(convert_fuzz PRIVATE kx_convert)
