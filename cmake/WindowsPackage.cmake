# The Windows installer (NSIS, Debian's nsis package) and the portable zip, both built by
# `cpack` in the Windows build directory:
#   zr4700-<version>-setup.exe   installs silently with /S, uninstalls with Uninstall.exe /S
#   zr4700-<version>-portable.zip
# Everything sits in one folder: zr4700.exe finds its help file as help\ZR4700.chm under the
# directory that is current when it starts, so the Start-menu entry starts it in that folder.

# The help file, compiled from help/ by Free Pascal's chmcmd (package fp-utils) when it is at
# hand; without it the packages carry no help file and F1 finds none, as on a machine where
# the help file was never installed.
find_program(ZR4700_CHMCMD chmcmd)
set(helpSource ${PROJECT_SOURCE_DIR}/help)
set(helpBuild ${PROJECT_BINARY_DIR}/help)
if(ZR4700_CHMCMD)
  file(GLOB helpFiles CONFIGURE_DEPENDS ${helpSource}/*.hh? ${helpSource}/html/*.html)
  add_custom_command(
    OUTPUT ${helpBuild}/ZR4700.chm
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${helpSource} ${helpBuild}
    COMMAND ${CMAKE_COMMAND} -E chdir ${helpBuild} ${ZR4700_CHMCMD} ZR4700.hhp
    # chmcmd ends well also when it wrote nothing: the file must be there.
    COMMAND ${CMAKE_COMMAND} -E sha256sum ${helpBuild}/ZR4700.chm
    DEPENDS ${helpFiles}
    COMMENT "Compiling the help file help/ZR4700.chm"
    VERBATIM)
  add_custom_target(zr4700-help ALL DEPENDS ${helpBuild}/ZR4700.chm)
  install(FILES ${helpBuild}/ZR4700.chm DESTINATION help)
else()
  message(STATUS "chmcmd not found (package fp-utils): the Windows packages carry no help file")
endif()

install(TARGETS zr4700 zrwin RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/examples/ DESTINATION examples
        FILES_MATCHING PATTERN "*.txt")

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME zr4700)
set(CPACK_PACKAGE_VENDOR Valmora)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Programmer for the ZR-4700 programmable keyboard")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZR-4700 Programmer")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "ZR-4700 Programmer")
# No licence page: the programmer ships with its keyboard, under the keyboard's terms.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_PACKAGE_NAME "ZR-4700 Programmer")
set(CPACK_NSIS_DISPLAY_NAME "ZR-4700 Programmer ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME zr4700.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The programs are 64-bit, and so is the installer (nsis' amd64-unicode stubs): it installs into
# the 64-bit Program Files and registers its uninstaller in the 64-bit registry view.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# The Start-menu entry starts the programmer in its own folder, where help\ZR4700.chm is.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "SetOutPath '$INSTDIR'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\ZR-4700 Programmer.lnk' '$INSTDIR\\\\zr4700.exe'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA
    "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\ZR-4700 Programmer.lnk'")
set(CPACK_NSIS_MUI_FINISHPAGE_RUN zr4700.exe)
set(CPACK_PACKAGE_FILE_NAME zr4700-${PROJECT_VERSION})
# The zip's name says what it is; CPack names per generator through a project config file.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/WindowsPackageNames.cmake)
include(CPack)
