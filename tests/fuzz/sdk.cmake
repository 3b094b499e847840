# Reader answers from the wire: frame decoding, version evaluation, unique codes. The sources are
# compiled into the fuzzer itself so that libFuzzer sees their coverage; kxlf_protocol is built
# without it.
set(kx_sdk_dir ${CMAKE_CURRENT_LIST_DIR}/../../sdk)
kx_add_fuzzer(sdk_answer_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/sdk_answer_fuzz.cpp
  ${kx_sdk_dir}/link/frame_codec.cpp
  ${kx_sdk_dir}/link/reader_identity.cpp
  ${kx_sdk_dir}/link/unique_code.cpp
)
target_include_directories(sdk_answer_fuzz PRIVATE ${kx_sdk_dir})
