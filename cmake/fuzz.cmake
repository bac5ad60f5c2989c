# Fuzz targets of the logic that reads text, with clang's libFuzzer under AddressSanitizer
# and UBSan. Configured on its own: CXX=clang++ cmake -S . -B build/fuzz -DHORALET_FUZZ=ON
set(fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
target_compile_options(horalet_core PRIVATE ${fuzz_flags})
foreach(target parse_time parse_integer compose split_lines)
  add_executable(${target}_fuzz tests/fuzz/${target}_fuzz.cpp)
  target_link_libraries(${target}_fuzz PRIVATE horalet_core)
  target_compile_options(${target}_fuzz PRIVATE ${fuzz_flags})
  target_link_options(${target}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
