# Texts of the LAN calls: the address, mask and gateway texts of the network configuration,
# LAN names, and datagrams from the network.
kx_add_fuzzer(lan_text_fuzz ${CMAKE_CURRENT_LIST_DIR}/lan_text_fuzz.cpp)
target_link_libraries(lan_text_fuzz PRIVATE kxlf_protocol)
