# Where an installed Varnolix puts its files (GNU layout under the prefix):
#   bin/varnolix, bin/varnolix-dccbox         the program and the simulated DCC box
#   bin/varnolix-k8055-guard                  the K8055 board's guardian
#   lib/<multiarch>/varnolix/libvarnolix_sound.so  the sound module (Qt Multimedia),
#                                             loaded on the first sound (Windows: bin/)
#   lib/<multiarch>/varnolix/libvarnolix_dcc_link.so  the DCC link module (Qt Serial
#                                             Port, Qt Network), loaded on the first open
#   lib/<multiarch>/varnolix/libvarnolix_phones.so  the phone module (Qt Network,
#                                             Qt D-Bus), loaded when phones are switched on
#   share/varnolix/data                       the shipped data, copied into each
#                                             user's own data folder at first start
#   share/varnolix/demo/text                  the demo settings (varnolix --demo)
#   share/varnolix/telephone.wav              the About sound
#   share/applications, share/icons/hicolor  the menu entry and its icon
#   share/doc/varnolix, share/man/man1        README, copyright, changelog; manual pages
#   share/metainfo                            what software centres show
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
install(FILES packaging/varnolix.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The changelog and the manual pages, compressed as Debian keeps them.
find_program(VARNOLIX_GZIP gzip)
if(VARNOLIX_GZIP)
  set(varnolix_compressed "")
  foreach(name changelog varnolix.1 varnolix-dccbox.1 varnolix-k8055-guard.1)
    set(plain ${PROJECT_BINARY_DIR}/packaging/${name})
    configure_file(packaging/${name}.in ${plain} @ONLY)
    # -n: no name or time stamp in the archive, so builds are reproducible.
    add_custom_command(OUTPUT ${plain}.gz COMMAND ${VARNOLIX_GZIP} -n -9 -f -k ${plain} DEPENDS ${plain})
    list(APPEND varnolix_compressed ${plain}.gz)
  endforeach()
  add_custom_target(varnolix_compressed_docs ALL DEPENDS ${varnolix_compressed})
  install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${varnolix_doc})
  install(FILES ${PROJECT_BINARY_DIR}/packaging/varnolix.1.gz ${PROJECT_BINARY_DIR}/packaging/varnolix-dccbox.1.gz
                ${PROJECT_BINARY_DIR}/packaging/varnolix-k8055-guard.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The program finds its modules there, relative to its own folder.
install(TARGETS varnolix_sound varnolix_dcc_link_module varnolix_phones_module LIBRARY DESTINATION ${VARNOLIX_MODULE_DIR})

# The K8055 guardian, the helper program that owns the USB board, goes beside
# the program, where Varnolix looks for it (not on Windows).
if(TARGET varnolix-k8055-guard)
  install(TARGETS varnolix-k8055-guard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
