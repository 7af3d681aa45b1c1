# The Debian package: `cpack -G DEB` in a configured build folder (see
# tools/make-package.sh) gives varnolix_<version>_<arch>.deb, its
# dependencies computed from the binaries by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME varnolix)
set(CPACK_PACKAGE_VENDOR "Varnolix developers")
set(CPACK_PACKAGE_CONTACT "Varnolix developers <varnolix@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for a model railway (XpressNet DCC, K8055)")
set(CPACK_PACKAGE_DESCRIPTION
    "Varnolix drives DCC locomotives and accessory decoders through an XpressNet\n"
    "command-station interface on a serial port, fires point coils and drives two\n"
    "DC motors through a Velleman K8055 USB board, and scrolls a picture of the\n"
    "track plan. It includes a simulated DCC box and a demo mode (varnolix --demo)\n"
    "that needs no hardware.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The About sound plays through Qt Multimedia's GStreamer backend.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
