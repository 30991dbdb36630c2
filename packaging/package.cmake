# The Debian package: what `cpack -G DEB` (and `./tilings package`) builds
# from the install rules. Its run-time dependencies come from dpkg-shlibdeps,
# so they follow whatever the installed programs really link.

# The licence goes where Debian looks for a package's copyright.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/plane-tilings
  RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plane-tilings)
set(CPACK_PACKAGE_VENDOR "the plane-tilings authors")
set(CPACK_PACKAGE_CONTACT "the plane-tilings authors <plane-tilings@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "interactive OpenGL programs that each build a periodic tiling of the plane")
set(CPACK_PACKAGE_DESCRIPTION [=[
Seventeen small programs (deltatile, quadtile, pentatile1 to pentatile8,
mixtile1 to mixtile7), each of which constructs one periodic tiling of the
plane by triangles, quadrilaterals, convex pentagons or regular polygons and
shows a patch of it in a window to pan, rotate and zoom with the mouse.
tilings-export writes a program's tiling as SVG without opening a window.
Released under the MIT licence (see copyright).]=])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
