# Compiler settings shared by every target of the project.
add_library(qelto_options INTERFACE)
target_compile_options(qelto_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                               -Wsign-conversion -Wnon-virtual-dtor)
# g++ 12 at -O2 and above reports -Wrestrict inside std::string concatenation where there is no
# overlap (a known false positive of that release); it would break every optimised build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(qelto_options INTERFACE -Wno-restrict)
endif()
if(QELTO_WERROR)
  target_compile_options(qelto_options INTERFACE -Werror)
endif()

# The hardening Debian builds its packages with, in the optimised builds that get installed:
# fortified C library calls (they need the optimiser), stack protection, format-string checks,
# position-independent executables, and relocations resolved at start-up and then made read-only.
# Debug and sanitizer builds keep their own flags.
# (Linux only: the ELF linker flags and the fortified C library have no counterpart in mingw.)
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND NOT QELTO_SANITIZE
   AND NOT QELTO_FUZZ AND NOT WIN32)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
  # Some compilers define _FORTIFY_SOURCE themselves; redefining it would be a warning.
  target_compile_options(qelto_options INTERFACE -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2
                                                 -fstack-protector-strong -Wformat
                                                 -Werror=format-security)
  target_link_options(qelto_options INTERFACE -Wl,-z,relro -Wl,-z,now)
endif()

if(QELTO_SANITIZE OR QELTO_FUZZ)
  set(qelto_san_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  target_compile_options(qelto_options INTERFACE ${qelto_san_flags})
  target_link_options(qelto_options INTERFACE ${qelto_san_flags})
  # Under the sanitizers g++ 12 loses track of std::regex's internal states and warns that they
  # may be used uninitialized; the plain builds keep the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(qelto_options INTERFACE -Wno-maybe-uninitialized)
  endif()
endif()

# Coverage for libFuzzer goes only into the code the fuzz targets exercise (the core, the
# simulator and the targets themselves); the tests and the window link the same libraries and
# run as usual, since the sanitizer runtime supplies the coverage hooks when libFuzzer is absent.
add_library(qelto_fuzz_coverage INTERFACE)
if(QELTO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QELTO_FUZZ needs clang (use the ci preset)")
  endif()
  target_compile_options(qelto_fuzz_coverage INTERFACE -fsanitize=fuzzer-no-link)
endif()

# Precompiled headers for the heavy third-party headers most files of a target include. Only in
# the ci preset: the everyday builds compile every file on its own, so a missing include is found.
function(qelto_precompile target)
  if(QELTO_PCH)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# The same, for a family of small programs built with the same flags (the test programs): the
# first one compiles the headers and the rest reuse its precompiled header, so a one-file program
# does not pay for a precompiled header of its own.
function(qelto_precompile_shared target family)
  if(NOT QELTO_PCH)
    return()
  endif()
  get_property(holder GLOBAL PROPERTY QELTO_PCH_HOLDER_${family})
  if(holder)
    target_precompile_headers(${target} REUSE_FROM ${holder})
  else()
    set_property(GLOBAL PROPERTY QELTO_PCH_HOLDER_${family} ${target})
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()
set(QELTO_STD_HEADERS <algorithm> <array> <cstdint> <filesystem> <functional> <memory>
                      <optional> <string> <string_view> <vector> <fmt/format.h>)
