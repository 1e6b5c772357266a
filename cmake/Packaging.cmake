# The Debian package of the calculator: `cpack` in the build folder writes orvanel_<version>_<arch>.deb.
# It holds what `cmake --install` installs, under /usr; the tests and their libraries install nothing.
# Its only scripts are CPack's ldconfig calls for libovnliblt in /usr/lib.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Orvane Lite, a calculator for numbers of any length")
set(CPACK_PACKAGE_DESCRIPTION "\
A desktop calculator (Qt 6) whose numbers may have tens of thousands of digits.
Quotients, roots and logarithms are cut off, never rounded, so every printed
digit is true. The interface is in Russian. orvanel-cli presses the same keys
from a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvanel developers")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# dpkg-shlibdeps (from dpkg-dev) reads the exact library versions off the binaries; without it the
# dependencies are the Qt 6 libraries the program links, named by hand.
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libstdc++6, libc6")
endif()

include(CPack)
