# The ways the clock ships, each holding the program and the README as text: each build
# as a setup program (NSIS, with the template beside this file) and as a zip to run from
# anywhere. The 32-bit build runs on every Windows; the 64-bit one, whose setup program is
# 64-bit code too, also on a 64-bit Windows without its 32-bit subsystem.
# `cmake --build --preset win32 --target package` builds everything, then both.

# Notepad before Windows 10 shows a text of bare line feeds as one line.
configure_file(${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS vexo RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)

set(VEXO_RELEASE_DIR ${CMAKE_BINARY_DIR}/release CACHE PATH "Folder of the setup program and the zip")
set(VEXO_PACKAGE_NAME vexo-${PROJECT_VERSION}-${VEXO_ARCH})
set(VEXO_SETUP ${VEXO_RELEASE_DIR}/${VEXO_PACKAGE_NAME}-setup.exe)
set(VEXO_ZIP ${VEXO_RELEASE_DIR}/${VEXO_PACKAGE_NAME}.zip)

set(CPACK_GENERATOR NSIS ZIP)
if(VEXO_ARCH STREQUAL "win32")
  set(CPACK_VEXO_NSIS_TARGET x86-unicode)
else()
  set(CPACK_VEXO_NSIS_TARGET amd64-unicode)
endif()
set(CPACK_PACKAGE_NAME Vexo)
set(CPACK_PACKAGE_VENDOR "Tarnwick Software")
set(CPACK_PACKAGE_FILE_NAME ${VEXO_PACKAGE_NAME})
set(CPACK_OUTPUT_FILE_PREFIX ${VEXO_RELEASE_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Gives the setup program its own name.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/package_names.cmake)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vexo)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vexo)
set(CPACK_NSIS_PACKAGE_NAME "Vexo - Tarnwick")
set(CPACK_NSIS_DISPLAY_NAME "Vexo - Tarnwick")
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/bell.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/resources/bell.ico)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake)
include(CPack)
