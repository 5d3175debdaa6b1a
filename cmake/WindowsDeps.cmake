# The third-party code of the Windows build. Debian packages none of it for mingw, but fmt,
# nlohmann-json and CLI11 are header-only (fmt in its header-only mode), and GoogleTest builds
# from Debian's source package. Only their own folders are put on the include path, never the
# host's /usr/include, so no Linux header can reach a Windows object.
set(qelto_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${qelto_host_headers})
foreach(dir fmt nlohmann CLI)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} is missing; run scripts/install-deps.sh")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${qelto_host_headers}/${dir} SYMBOLIC)
endforeach()

add_library(fmt::fmt INTERFACE IMPORTED GLOBAL)
target_include_directories(fmt::fmt SYSTEM INTERFACE ${qelto_host_headers})
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${qelto_host_headers})
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${qelto_host_headers})

if(QELTO_BUILD_TESTS)
  if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR "/usr/src/googletest is missing; run scripts/install-deps.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  # Its own CMake names the targets GTest::gtest, GTest::gtest_main and GTest::gmock.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# The Win32 API in its wide-character form, from Windows 10 on, without the min/max macros.
target_compile_definitions(qelto_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE
                                                   _WIN32_WINNT=0x0A00)
