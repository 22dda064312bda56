# `cpack -G DEB` in the build folder makes glyphmarinae_<version>_amd64.deb
# from what cmake/install.cmake installs, with the library dependencies that
# dpkg-shlibdeps finds in the programs.

# The changelog is where a Debian package's version and maintainer live; the
# package must not claim a version its changelog does not describe.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog glyph_changelog_top LIMIT_COUNT 1)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog glyph_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT glyph_changelog_top MATCHES "^glyphmarinae \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog must start with an entry for version ${PROJECT_VERSION}")
endif()
string(REGEX REPLACE "^ -- (.*>)  .*$" "\\1" glyph_maintainer "${glyph_changelog_trailer}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glyphmarinae)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${glyph_maintainer}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The -direct terminfo entries, under which the terminal aquarium draws 24-bit colour.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ncurses-term")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, swayidle")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "aquarium screensaver drawn in coloured characters
An animated aquarium drawn entirely in coloured characters on black: water
lines, a castle, swaying seaweed, fish of many kinds, bubbles, and one large
visitor at a time, such as a shark that eats fish or a fishing hook that
catches one.

The package holds glyphmarinae, which fills a terminal through ncurses and
can print scenes as text; glyphmarinae-x11, an X11 program that is also
installed as a module for xscreensaver, with its settings description; and
glyphmarinae-wayland, a screensaver, live wallpaper or window on Wayland
desktops, started by an idle daemon such as swayidle; and
glyphmarinae-server, which streams the aquarium over HTTP and telnet to
terminals that need nothing installed, curl or telnet being enough.")
set(CPACK_STRIP_FILES ON)
# The folders in the package are the same whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
