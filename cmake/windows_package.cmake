# `cpack -G ZIP` in the MinGW build folder makes
# glyphmarinae-<version>-windows-x86_64.zip: the screensaver, the same
# program as an .exe, a short text on how to install it, and the licence.
# Both texts have Windows line ends and the extension that opens them.
configure_file(${CMAKE_CURRENT_LIST_DIR}/../src/host/windows/README.txt.in
               ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS glyphmarinae RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/glyphmarinae.scr ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME glyphmarinae)
set(CPACK_PACKAGE_VENDOR "The Glyphmarinae project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Glyphmarinae aquarium screensaver")
set(CPACK_PACKAGE_FILE_NAME glyphmarinae-${PROJECT_VERSION}-windows-x86_64)
include(CPack)
