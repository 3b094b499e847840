# INI texts of any shape: parse, write back, parse again.
kx_add_fuzzer(ini_fuzz ${CMAKE_CURRENT_LIST_DIR}/ini_fuzz.cpp)
target_link_libraries(ini_fuzz PRIVATE kx_ini)
