# Compiler settings shared by every target of the project.
add_library(qelto_options INTERFACE)
target_compile_options(qelto_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wsign-conversion -Wnon-virtual-dtor)
if(QELTO_WERROR)
  target_compile_options(qelto_options INTERFACE -Werror)
endif()

if(QELTO_SANITIZE)
  set(qelto_san_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  target_compile_options(qelto_options INTERFACE ${qelto_san_flags})
  target_link_options(qelto_options INTERFACE ${qelto_san_flags})
endif()

if(QELTO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QELTO_FUZZ needs clang (use the fuzz preset)")
  endif()
  # The library gets coverage instrumentation; each fuzz target links libFuzzer's main.
  set(qelto_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_compile_options(qelto_options INTERFACE ${qelto_fuzz_flags})
  target_link_options(qelto_options INTERFACE -fsanitize=address,undefined)
endif()
