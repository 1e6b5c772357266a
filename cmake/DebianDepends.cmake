# Read by cpack when it starts: the package's Depends field, as dpkg-shlibdeps (dpkg-dev) reads the library
# versions off the built programs, plus the packages they load at run time without linking them.
# libovnliblt, built beside them, comes in the package itself.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps REQUIRED)
# dpkg-shlibdeps wants to stand in a source package's folder.
set(shlibdeps_folder ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps)
file(MAKE_DIRECTORY ${shlibdeps_folder}/debian)
file(TOUCH ${shlibdeps_folder}/debian/control)
execute_process(
  COMMAND ${DPKG_SHLIBDEPS} -O --ignore-missing-info -l${CPACK_ORVANEL_LIBRARY_DIR} ${CPACK_ORVANEL_PROGRAMS}
  WORKING_DIRECTORY ${shlibdeps_folder}
  OUTPUT_VARIABLE shlibdeps_output
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_VARIABLE shlibdeps_warnings  # on $ORIGIN and on programs outside a package tree: expected here
  RESULT_VARIABLE shlibdeps_status)
if(NOT shlibdeps_status EQUAL 0)
  message(FATAL_ERROR "dpkg-shlibdeps failed:\n${shlibdeps_warnings}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" depends "${shlibdeps_output}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${depends} ${CPACK_ORVANEL_EXTRA_DEPENDS})
list(JOIN CPACK_DEBIAN_PACKAGE_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
