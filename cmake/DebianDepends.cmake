# Run by cpack between installing the files and building the package (CPACK_PRE_BUILD_SCRIPTS):
# the dependencies and the changelog.
# The Debian package depends on the libraries the programs link, as dpkg-shlibdeps names them;
# the private modules in lib/talvo (GDAL's, opened only for the files that need it) only add
# theirs to Recommends. cpack's own scan would make GDAL a hard dependency and run ldconfig for a
# module no other program loads.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(GLOB modules "${root}/lib/talvo/*")
set(work "${CPACK_TOPLEVEL_DIRECTORY}/dpkg-shlibdeps")
# dpkg-shlibdeps wants a source package's control file in its working folder.
file(WRITE "${work}/debian/control" "")
execute_process(
  COMMAND dpkg-shlibdeps -O "${root}/bin/talvo" "${root}/bin/talvo-viewer" -dRecommends ${modules}
  WORKING_DIRECTORY "${work}" OUTPUT_VARIABLE found ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${errors}")
endif()
string(REGEX MATCH "shlibs:Depends=([^\n]*)" _ "${found}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
string(REGEX MATCH "shlibs:Recommends=([^\n]*)" _ "${found}")
if(CMAKE_MATCH_1)
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", ${CMAKE_MATCH_1}")
endif()

# A native package's changelog, stamped with this package's version and maintainer.
set(MAINTAINER "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
set(changelog "${root}/share/doc/talvo/changelog")
configure_file("${CPACK_TALVO_CHANGELOG}" "${changelog}" @ONLY)
execute_process(COMMAND gzip -9nf "${changelog}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip of the changelog failed")
endif()
