# Where `cmake --install` lays the system out, in the usual Linux places (GNUInstallDirs):
#
#   bin/                            the programs (orvex_install_program)
#   lib/orvex/                      the service's libraries, private to it (orvex_install_library);
#                                   the programs find them through their RPATH
#   share/orvex/                    the shipped data files, linked into the install folder
#   share/applications/             data/*.desktop
#   share/mime/packages/            data/*.mime.xml, as <name>.xml
#   share/dbus-1/system.d/          the system bus policy; with ORVEX_INSTALL_REGISTRATION (a
#                                   package) the whole registration instead, in the distribution's
#                                   folders: share/dbus-1/system-services/, /lib/systemd/system/
#   share/man/                      the programs' manual pages
#   share/doc/orvex/                copyright and changelog
#   lib/sysusers.d/, lib/tmpfiles.d/  the service's user and the install folder
#   /etc/orvex/orvex.conf           names the install folder (always under /etc: every program
#                                   looks for it there)
include(GNUInstallDirs)

set(ORVEX_INSTALL_FOLDER /var/lib/orvex CACHE PATH
    "The install folder: settings, trace files, the configuration file and the shipped data files")
option(ORVEX_INSTALL_REGISTRATION
       "Install the service's system bus registration (activation file, systemd unit, bus policy) \
where a distribution package ships it, written by the service's own registration code" OFF)

# Private libraries go to lib/orvex whatever the architecture folder (the configuration tool's
# About box looks for them there, beside bin/).
set(ORVEX_INSTALL_LIBDIR lib/orvex)
file(RELATIVE_PATH orvex_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${ORVEX_INSTALL_LIBDIR})
set(CMAKE_INSTALL_RPATH "$ORIGIN/${orvex_bin_to_lib}")

# orvex_install_program(<target>): a program users run, into bin/.
function(orvex_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# orvex_install_library(<target>): a shared library the programs load, into lib/orvex/.
function(orvex_install_library target)
    install(TARGETS ${target} LIBRARY DESTINATION ${ORVEX_INSTALL_LIBDIR})
endfunction()
