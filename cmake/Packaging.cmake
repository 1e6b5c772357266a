# The Debian package of the calculator: `cpack` in the build folder writes orvanel_<version>_<arch>.deb.
# It holds what `cmake --install` installs, under /usr; the tests and their libraries install nothing.
# It has no maintainer scripts: libovnliblt sits in a private folder, so ldconfig has nothing to do, and
# the MIME, desktop and icon caches are refreshed by their own packages' dpkg triggers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for numbers of any length")
set(CPACK_PACKAGE_DESCRIPTION "\
Orvane Lite is a desktop calculator (Qt 6) whose numbers may have tens of
thousands of digits. Quotients, roots and logarithms are cut off, never
rounded, so every printed digit is true. The interface is in Russian.
orvanel-cli presses the same keys from a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The project publishes no address: the reserved top-level domain "invalid" keeps the field well-formed
# without pointing at anyone's mailbox (lintian accepts it; packaging/changelog signs with the same).
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvanel developers <orvanel@orvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# CPack's own dpkg-shlibdeps run would also add ldconfig calls for any library under /usr/lib, private
# folders included; cmake/DebianDepends.cmake runs it on the built programs instead, when cpack starts.
set(CPACK_ORVANEL_PROGRAMS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/orvanel-cli)
if(TARGET orvanel)
  list(APPEND CPACK_ORVANEL_PROGRAMS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/orvanel)
  # Qt's own dialogs and buttons in Russian.
  set(CPACK_ORVANEL_EXTRA_DEPENDS qt6-translations-l10n)
endif()
set(CPACK_ORVANEL_LIBRARY_DIR ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/DebianDepends.cmake)

include(CPack)
