# The Windows exe: one self-contained console program (the GCC runtime linked in, so only KERNEL32,
# msvcrt and ole32 are imported), with an application manifest and a version resource.
enable_language(RC)

set(ORVO_VERSION_QUAD "${PROJECT_VERSION}.0")
set(ORVO_MANIFEST "${CMAKE_BINARY_DIR}/orvo-shortcuts.manifest")
configure_file(packaging/windows/orvo-shortcuts.manifest ${ORVO_MANIFEST} @ONLY)
configure_file(packaging/windows/orvo-shortcuts.rc.in ${CMAKE_BINARY_DIR}/orvo-shortcuts.rc @ONLY)
# windres does not see the manifest as an input: a changed manifest must rebuild the resources.
set_source_files_properties(${CMAKE_BINARY_DIR}/orvo-shortcuts.rc PROPERTIES OBJECT_DEPENDS ${ORVO_MANIFEST})
target_sources(orvo-shortcuts PRIVATE ${CMAKE_BINARY_DIR}/orvo-shortcuts.rc)
target_link_options(orvo-shortcuts PRIVATE -static -static-libgcc -static-libstdc++ -s)

# The release archive: the exe and a short text for users, named with the version.
configure_file(packaging/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS orvo-shortcuts RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME orvo-shortcuts)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME orvo-shortcuts-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
