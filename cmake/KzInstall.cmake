# The installed tree, relative to the prefix:
#   lib/cups/backend/kzps                       the CUPS backend (apps/kzps-backend)
#   share/ppd/kzpde/KZPrintServer.ppd           the product PPD, for lpinfo -m
#   bin/kzpde                                   the tool (apps/kzpde)
#   lib/kzpde/KZPrintServer.plugin/             the bundle, copied as resources/
#                                               lays it out in the build tree
#   share/kzpde/samples/                        the sample files
#   share/man/man1/kzpde.1.gz                   made from the help texts
#   share/bash-completion/completions/kzpde     made from the command registry
#   share/applications/kzpde-print.desktop      "Print with KZ Print Server" for
#                                               PDF and PostScript in file managers
#   lib/systemd/system/kzpde-refresh.{service,timer}  see the end of this file
# The bundle goes to lib/kzpde whatever the platform's library folder is: it is
# a folder the tool finds relative to itself, not a library for the linker, and
# the RUNPATHs inside it and of the tool name it relative to $ORIGIN.
include(GNUInstallDirs)
set(KZ_BUNDLE_NAME KZPrintServer.plugin)
set(KZ_INSTALL_PKGLIBDIR lib/kzpde)
set(KZ_INSTALL_BUNDLE_DIR ${KZ_INSTALL_PKGLIBDIR}/${KZ_BUNDLE_NAME})

# Whatever the build lays into the bundle (data, the password library, pane
# bundles, the runtime library) is installed as it is, so the libraries in it
# carry RUNPATHs relative to $ORIGIN that hold in both trees. This rule is read
# before the subdirectories, so that a target one of them installs into the
# bundle with install(TARGETS), to rewrite its RPATH, replaces the copy.
install(DIRECTORY ${CMAKE_BINARY_DIR}/${KZ_BUNDLE_NAME} DESTINATION ${KZ_INSTALL_PKGLIBDIR}
        USE_SOURCE_PERMISSIONS)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kzpde/samples)
# A file manager's "Open With" for PDF and PostScript files: `kzpde dialog FILE`.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kzpde-print.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Where Debian packages keep their copyright statement (/usr/share/doc/<package>).
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kzpde)
# The product PPD where CUPS's driver list finds it (`lpinfo -m`, `lpadmin -m
# kzpde/KZPrintServer.ppd`); it goes with the backend, component kzps.
install(FILES ${CMAKE_SOURCE_DIR}/resources/bundle/Contents/Resources/KZPrintServer.ppd
        DESTINATION ${CMAKE_INSTALL_DATADIR}/ppd/kzpde COMPONENT kzps)
# The daily refresh of the queues' server lists (`kzpde server refresh --all`):
#   lib/systemd/system/kzpde-refresh.service    names the installed bin/kzpde
#   lib/systemd/system/kzpde-refresh.timer      daily, at a random time
# The service is written when installing, so that it names the tool where this
# install puts it (cpack's /usr too). Neither is enabled: only the machine that
# holds the queues runs it (`systemctl enable --now kzpde-refresh.timer`).
set(KZ_INSTALL_SYSTEMD_UNITDIR lib/systemd/system)
install(CODE "
  set(KZ_INSTALL_FULL_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  if(NOT IS_ABSOLUTE \"\${KZ_INSTALL_FULL_BINDIR}\")
    set(KZ_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/\${KZ_INSTALL_FULL_BINDIR}\")
  endif()
  configure_file(\"${CMAKE_SOURCE_DIR}/packaging/systemd/kzpde-refresh.service.in\"
                 \"${CMAKE_BINARY_DIR}/systemd/kzpde-refresh.service\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/systemd/kzpde-refresh.service
              ${CMAKE_SOURCE_DIR}/packaging/systemd/kzpde-refresh.timer
        DESTINATION ${KZ_INSTALL_SYSTEMD_UNITDIR})
