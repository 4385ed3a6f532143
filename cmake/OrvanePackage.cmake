# Installing Orvane and packing it: the CMake package (OrvaneConfig.cmake,
# OrvaneConfigVersion.cmake and the exported target Orvane::orvane), the
# pkg-config file orvane.pc, and cpack's .deb and .tar.gz.
include(CMakePackageConfigHelpers)

# The sanitizer build links its settings into every target, the library's
# too; it is for testing here and never installed.
if(ORVANE_SANITIZE OR ORVANE_FUZZ)
  return()
endif()

set(ORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvane)
install(EXPORT OrvaneTargets NAMESPACE Orvane:: DESTINATION ${ORVANE_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfig.cmake INSTALL_DESTINATION ${ORVANE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfigVersion.cmake DESTINATION ${ORVANE_CMAKE_DIR})

# A static liborvane needs its dependencies on every link line, a shared one
# carries them itself. The prefix is found from the file's own place, so the
# installed tree can move.
set(ORVANE_PC_DEPENDENCIES "gl glu x11 fontconfig freetype2 libpng libjpeg")
if(BUILD_SHARED_LIBS)
  set(ORVANE_PC_REQUIRES "Requires.private: ${ORVANE_PC_DEPENDENCIES}")
  set(ORVANE_PC_LIBS "Libs: -L\${libdir} -lorvane\nLibs.private: -pthread")
else()
  set(ORVANE_PC_REQUIRES "Requires: ${ORVANE_PC_DEPENDENCIES}")
  set(ORVANE_PC_LIBS "Libs: -L\${libdir} -lorvane -pthread")
endif()
file(RELATIVE_PATH ORVANE_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" ORVANE_PC_TO_PREFIX "${ORVANE_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvane.pc.in ${CMAKE_CURRENT_BINARY_DIR}/orvane.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/orvane.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(NOT ORVANE_TOP_LEVEL)
  return()
endif()

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# dpkg-shlibdeps fills in what the programs and libraries load at run time;
# building against the headers and the static library takes the -dev
# packages of the engine's dependencies as well.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libgl-dev, libglu1-mesa-dev, libx11-dev, libfontconfig-dev, libfreetype-dev, libpng-dev, "
  "libjpeg62-turbo-dev")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, fonts-dejavu-core")
include(CPack)
