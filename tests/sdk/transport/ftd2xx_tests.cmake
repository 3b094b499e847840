# FTDI mode against the test builds of the D2XX library. The tests load the libraries by file,
# as the SDK loads the vendor's, so they only depend on them being built.
add_executable(ftd2xx_tests
  ftd2xx_port_test.cpp
  ftdi_line_test.cpp
)
target_link_libraries(ftd2xx_tests PRIVATE kxlf_core kx_fake_ftd2xx_control GTest::gtest_main)
add_dependencies(ftd2xx_tests kx_fake_ftd2xx kx_fake_ftd2xx_partial)
target_compile_definitions(ftd2xx_tests PRIVATE
  KX_FAKE_FTD2XX_FILE="$<TARGET_FILE:kx_fake_ftd2xx>"
  KX_FAKE_FTD2XX_PARTIAL_FILE="$<TARGET_FILE:kx_fake_ftd2xx_partial>"
)
# Tests with "Threaded" in their name run threads; ThreadSanitizer builds run those.
gtest_discover_tests(ftd2xx_tests TEST_FILTER "-*Threaded*")
gtest_discover_tests(ftd2xx_tests TEST_FILTER "*Threaded*" PROPERTIES LABELS threaded)
