# Read by cpack for each generator: the installer is ...-setup.exe, the zip ...-portable.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-portable")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
