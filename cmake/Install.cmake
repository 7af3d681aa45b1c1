# Where an installed Varnolix puts its files (GNU layout under the prefix):
#   bin/varnolix, bin/varnolix-dccbox         the program and the simulated DCC box
#   share/varnolix/data                       the shipped data, copied into each
#                                             user's own data folder at first start
#   share/varnolix/demo/text                  the demo settings (varnolix --demo)
#   share/varnolix/telephone.wav              the About sound
#   share/applications, share/icons/hicolor  the menu entry and its icon
#   share/doc/varnolix                        README, copyright, changelog
#   the udev rule for the K8055 board         where udev reads it
include(GNUInstallDirs)

set(varnolix_share ${CMAKE_INSTALL_DATADIR}/varnolix)
install(DIRECTORY data/ DESTINATION ${varnolix_share}/data
        PATTERN udev EXCLUDE
        PATTERN telephone.wav EXCLUDE)
install(FILES data/telephone.wav DESTINATION ${varnolix_share})
install(DIRECTORY demo/text DESTINATION ${varnolix_share}/demo)

install(FILES packaging/varnolix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY packaging/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# udev reads /lib/udev/rules.d (Debian 12) and /usr/lib/udev/rules.d, never
# /usr/local: a system install puts the rule there, any other prefix keeps it
# below the prefix for the user to copy (see the README).
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(varnolix_udev_default /lib/udev/rules.d)
else()
  set(varnolix_udev_default lib/udev/rules.d)
endif()
set(VARNOLIX_UDEV_RULES_DIR ${varnolix_udev_default} CACHE PATH "Where the K8055 udev rule is installed")
install(FILES data/udev/60-varnolix-k8055.rules DESTINATION ${VARNOLIX_UDEV_RULES_DIR})

# Named for the package, as Debian wants it (not for the project).
set(varnolix_doc ${CMAKE_INSTALL_DATADIR}/doc/varnolix)
install(FILES README.md packaging/copyright DESTINATION ${varnolix_doc})
find_program(VARNOLIX_GZIP gzip)
if(VARNOLIX_GZIP)
  configure_file(packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
  # -n: no name or time stamp in the archive, so builds are reproducible.
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${VARNOLIX_GZIP} -n -9 -f -k ${PROJECT_BINARY_DIR}/packaging/changelog
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog)
  add_custom_target(varnolix_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${varnolix_doc})
endif()

# The K8055 guardian, a helper program that owns the USB board, is installed
# beside the program once it is part of the build.
if(TARGET varnolix-k8055-guard)
  install(TARGETS varnolix-k8055-guard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
