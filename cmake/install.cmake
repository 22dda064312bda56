# What `cmake --install` lays out under the prefix: the programs, the X11
# module where xscreensaver looks for its modules with its settings
# description, the Wayland program with its menu entry and icon, the
# streaming server, and the manual pages, as a Debian package lays them out.
include(GNUInstallDirs)

set(glyph_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(glyph_generated ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${glyph_generated})

# Debian installs manual pages and changelogs compressed, and without a name
# or time stamp in the header so that a build can be repeated byte for byte.
find_program(GLYPH_GZIP gzip REQUIRED)
function(glyph_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${GLYPH_GZIP} -9nc ${source} > ${output}
                     DEPENDS ${source}
                     VERBATIM)
endfunction()

# A relative symbolic link made in the build folder; installing it keeps it a
# link, so it holds under any prefix and inside the package.
function(glyph_install_link target destination name)
  file(CREATE_LINK ${target} ${glyph_generated}/${name} SYMBOLIC)
  install(FILES ${glyph_generated}/${name} DESTINATION ${destination})
endfunction()

# A stripped program still carries the compiler's .comment section, which
# Debian's own packaging removes too.
function(glyph_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\")
  endif()")
endfunction()

configure_file(${glyph_packaging}/glyphmarinae.6.in ${glyph_generated}/glyphmarinae.6 @ONLY)
glyph_gzip(${glyph_generated}/glyphmarinae.6 ${glyph_generated}/glyphmarinae.6.gz)
glyph_gzip(${glyph_packaging}/changelog ${glyph_generated}/changelog.gz)
add_custom_target(glyph_documents ALL DEPENDS ${glyph_generated}/glyphmarinae.6.gz ${glyph_generated}/changelog.gz)

glyph_install_program(glyphmarinae)
install(FILES ${glyph_generated}/glyphmarinae.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${glyph_packaging}/copyright ${glyph_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Watching over ssh: the sshd settings only as an example, since sshd reads
# every file in /etc/ssh/sshd_config.d and would let anyone in as soon as the
# account exists; and the login shell they name, which runs nothing else.
install(FILES ${glyph_packaging}/glyphmarinae-ssh.conf DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(PROGRAMS ${glyph_packaging}/glyphmarinae-ssh-viewer DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/glyphmarinae
        RENAME ssh-viewer)

if(TARGET glyphmarinae-x11)
  set(glyph_module_dir ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
  glyph_install_program(glyphmarinae-x11)
  file(RELATIVE_PATH glyph_module_to_bin /prefix/${glyph_module_dir} /prefix/${CMAKE_INSTALL_BINDIR})
  glyph_install_link(${glyph_module_to_bin}/glyphmarinae-x11 ${glyph_module_dir} glyphmarinae)
  install(FILES ${glyph_packaging}/glyphmarinae.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
  # One page documents every program; man glyphmarinae-x11 finds it too.
  glyph_install_link(glyphmarinae.6.gz ${CMAKE_INSTALL_MANDIR}/man6 glyphmarinae-x11.6.gz)
endif()

if(TARGET glyphmarinae-wayland)
  glyph_install_program(glyphmarinae-wayland)
  glyph_install_link(glyphmarinae.6.gz ${CMAKE_INSTALL_MANDIR}/man6 glyphmarinae-wayland.6.gz)
  # The desktop's menu starts it in a window of its own; the window's app id
  # names the entry, so that docks show the same icon.
  install(FILES ${glyph_packaging}/glyphmarinae.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${glyph_packaging}/glyphmarinae.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Its own idle watcher at login, for whoever copies the entry into
  # ~/.config/autostart: data, so that it starts for nobody who did not.
  install(FILES ${glyph_packaging}/glyphmarinae-wayland-idle.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/glyphmarinae/autostart)
endif()

# The server is a program of its own with a page of its own: its options
# share nothing with the aquarium's.
if(TARGET glyphmarinae-server)
  configure_file(${glyph_packaging}/glyphmarinae-server.6.in ${glyph_generated}/glyphmarinae-server.6 @ONLY)
  glyph_gzip(${glyph_generated}/glyphmarinae-server.6 ${glyph_generated}/glyphmarinae-server.6.gz)
  add_custom_target(glyph_server_page ALL DEPENDS ${glyph_generated}/glyphmarinae-server.6.gz)
  glyph_install_program(glyphmarinae-server)
  install(FILES ${glyph_generated}/glyphmarinae-server.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  # The units where this system's systemd keeps the units of packages, none
  # enabled: the service and the sockets it may be started from. Its settings
  # file and HAProxy's settings for a balancer in front only as examples, so
  # that removing the package leaves nothing behind in /etc.
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_get_variable(GLYPH_SYSTEMD_UNIT_DIR systemd systemdsystemunitdir)
  endif()
  if(NOT GLYPH_SYSTEMD_UNIT_DIR)
    set(GLYPH_SYSTEMD_UNIT_DIR lib/systemd/system)
  endif()
  install(FILES ${glyph_packaging}/glyphmarinae-server.service ${glyph_packaging}/glyphmarinae-server.socket
                ${glyph_packaging}/glyphmarinae-server-telnet.socket DESTINATION ${GLYPH_SYSTEMD_UNIT_DIR})
  install(FILES ${glyph_packaging}/glyphmarinae-server.default ${glyph_packaging}/glyphmarinae-haproxy.cfg
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  install(FILES ${glyph_packaging}/glyphmarinae.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME glyphmarinae)
endif()
