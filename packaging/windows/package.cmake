# The Windows package: one zip, made by `cmake --build --preset windows --target package`, that
# unpacks to a folder holding qeltoctl.exe, the language catalogs in lang\ beside it (where the
# program looks first) and README.txt. The runtime is linked in, so nothing else is needed.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/lang/ DESTINATION lang FILES_MATCHING PATTERN "*.po")
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME qelto)
set(CPACK_PACKAGE_VENDOR Halvercott)
set(CPACK_PACKAGE_FILE_NAME qelto-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
