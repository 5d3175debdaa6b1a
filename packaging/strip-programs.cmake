# Run by CPack on the staged files, before it packs them: strips the programs as Debian's own
# package tools do, the symbols and also the compilers' .comment and .note sections, which a
# plain strip (CPACK_STRIP_FILES) leaves in.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
if(NOT programs)
  message(FATAL_ERROR "no programs under ${CPACK_TEMPORARY_INSTALL_DIRECTORY} to strip")
endif()
foreach(program IN LISTS programs)
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
