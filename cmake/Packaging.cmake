# One Debian package with both programs: `cpack -G DEB` in the build
# directory. Its Depends line is worked out by dpkg-shlibdeps (dpkg-dev)
# from the libraries the programs link against.
set(CPACK_PACKAGE_NAME wellenlehre)
set(CPACK_PACKAGE_VENDOR "Die Entwickler von wavesum und waveprint")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Lehrprogramme zur Fouriersynthese und -zerlegung (wavesum, waveprint)")
# The summary is the Description's first line, this text the lines below.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "wavesum zeigt, wie Rechteck- und Sägezahnschwingung aus Sinus-Harmonischen
entstehen: Harmonische um Harmonische wird zur Summenkurve addiert.
waveprint zeichnet die 21 Harmonischen der Rechteckschwingung und druckt
sie auf eine A4-Seite.")
set(CPACK_PACKAGE_CONTACT "Die Entwickler von wavesum und waveprint <entwickler@wellenlehre.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not a library, so dpkg-shlibdeps cannot find it: Qt's German texts for
# its own dialogs and standard buttons. Added to the computed list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
# Qt's Wayland platform: in a Wayland session Qt then talks to the
# compositor itself instead of going through XWayland. Both work, and an
# X11 session needs neither, so it is recommended, not required.
# wavesum's tone goes through Qt Multimedia (libqt6multimedia6, found by
# dpkg-shlibdeps) to a PulseAudio server, PipeWire's included; without one
# the program works, silent, so the server is recommended.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, pulseaudio | pipewire-pulse")

# data/debian/changelog, installed as changelog.Debian.gz, names the
# package and its version in its latest entry: the same as built here.
set(changelog ${PROJECT_SOURCE_DIR}/data/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(STRINGS ${changelog} latest LIMIT_COUNT 1)
string(REGEX MATCH "^[^ ]+ \\([^)]*\\)" latest "${latest}")
set(expected "${CPACK_PACKAGE_NAME} (${CPACK_DEBIAN_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})")
if(NOT latest STREQUAL expected)
  message(FATAL_ERROR "data/debian/changelog: the latest entry is '${latest}', the package '${expected}'")
endif()

include(CPack)
