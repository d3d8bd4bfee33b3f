# What an install adds beyond the programs and libraries (see OrvexInstall.cmake), and the
# Debian package (`cpack -G DEB`) built from the same install.
set(orvex_data ${CMAKE_SOURCE_DIR}/data)
set(orvex_sysusers_dir lib/sysusers.d)
set(orvex_tmpfiles_dir lib/tmpfiles.d)
set(orvex_packaging ${CMAKE_BINARY_DIR}/packaging)

# Desktop and MIME files of the programs, whoever adds them.
file(GLOB orvex_desktop_files CONFIGURE_DEPENDS ${orvex_data}/*.desktop)
install(FILES ${orvex_desktop_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
file(GLOB orvex_mime_files CONFIGURE_DEPENDS ${orvex_data}/*.mime.xml)
foreach(file IN LISTS orvex_mime_files)
    get_filename_component(name ${file} NAME)
    string(REGEX REPLACE "\\.mime\\.xml$" ".xml" name ${name})
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${name})
endforeach()

# Every other data file belongs in the install folder. The package owns the shipped copy in
# share/orvex and the install folder holds a link to it, so that upgrades reach it; a site that
# needs its own version replaces the link with a file, which nothing then touches.
file(GLOB orvex_data_files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${orvex_data}/*)
list(FILTER orvex_data_files EXCLUDE REGEX "\\.desktop$|\\.mime\\.xml$")
install(FILES ${orvex_data_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/orvex)

# The service's user and the install folder: systemd-sysusers and systemd-tmpfiles make them
# (the package's postinst runs both; after a plain install, run them once by hand).
# Data/ holds the site files (the tool's Open and Save dialogs start there) and must be writable
# by the service and every member of the group, whoever made the file.
set(orvex_tmpfiles "# The install folder: the service (user orvex) and callers (group orvex) write there.\n")
string(APPEND orvex_tmpfiles "d ${ORVEX_INSTALL_FOLDER} 2770 orvex orvex -\n")
string(APPEND orvex_tmpfiles "d ${ORVEX_INSTALL_FOLDER}/Data 2770 orvex orvex -\n")
foreach(file IN LISTS orvex_data_files)
    get_filename_component(name ${file} NAME)
    string(APPEND orvex_tmpfiles
           "L ${ORVEX_INSTALL_FOLDER}/${name} - - - - ${CMAKE_INSTALL_FULL_DATADIR}/orvex/${name}\n")
endforeach()
file(CONFIGURE OUTPUT ${orvex_packaging}/tmpfiles.conf CONTENT "${orvex_tmpfiles}" @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvex.sysusers.in ${orvex_packaging}/sysusers.conf @ONLY)
install(FILES ${orvex_packaging}/sysusers.conf DESTINATION ${orvex_sysusers_dir} RENAME orvex.conf)
install(FILES ${orvex_packaging}/tmpfiles.conf DESTINATION ${orvex_tmpfiles_dir} RENAME orvex.conf)

# /etc/orvex/orvex.conf, unless one is there already: an administrator's choice of folder stays.
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvex.conf.in ${orvex_packaging}/orvex.conf @ONLY)
install(CODE "
    if(EXISTS \"\$ENV{DESTDIR}/etc/orvex/orvex.conf\")
        message(STATUS \"Keeping: \$ENV{DESTDIR}/etc/orvex/orvex.conf\")
    else()
        file(INSTALL DESTINATION /etc/orvex TYPE FILE FILES \"${orvex_packaging}/orvex.conf\")
    endif()")

# Manual pages of the programs in bin/, the copyright and the changelog, compressed as Debian
# keeps them (gzip -n: no name or time stamp, so that the same sources give the same package).
set(orvex_docs)
foreach(page OrvexServices.8 OrvexConfig.1 WatchDesk.1)
    string(REGEX REPLACE ".*\\." "" section ${page})
    set(out ${orvex_packaging}/man/${page}.gz)
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/man/${page} ${orvex_packaging}/man/${page}
                       COMMAND gzip -9nf ${orvex_packaging}/man/${page}
                       DEPENDS ${CMAKE_CURRENT_LIST_DIR}/man/${page} VERBATIM)
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
    list(APPEND orvex_docs ${out})
endforeach()
# A native package (its version has no Debian revision) keeps its changelog as changelog.gz.
set(out ${orvex_packaging}/changelog.gz)
add_custom_command(OUTPUT ${out}
                   COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/debian/changelog ${orvex_packaging}/changelog
                   COMMAND gzip -9nf ${orvex_packaging}/changelog
                   DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog VERBATIM)
list(APPEND orvex_docs ${out})
add_custom_target(orvex_docs ALL DEPENDS ${orvex_docs})
install(FILES ${out} ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvex)

# The system bus registration as the package ships it: written by the staged program's own
# -Service into the staging tree's distribution folders, so that the package and a later
# OrvexServices -Service never disagree. The program names itself by its path in the tree.
if(ORVEX_INSTALL_REGISTRATION)
    # The tree's root: where the prefix went (CPack installs under a staging folder, by DESTDIR
    # or by another prefix) without the prefix itself.
    install(CODE "
        set(prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
        string(REGEX REPLACE \"${CMAKE_INSTALL_PREFIX}\$\" \"/\" root \"\${prefix}\")
        execute_process(COMMAND env ORVEX_BUS=system ORVEX_INSTALL_DIR=${ORVEX_INSTALL_FOLDER}
                                ORVEX_REGISTRATION_ROOT=\${root} ORVEX_REGISTRATION_FOLDERS=package
                                \${prefix}/${CMAKE_INSTALL_BINDIR}/OrvexServices -Service
                        RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR \"OrvexServices -Service did not write the registration (\${status})\")
        endif()")
endif()

# The Debian package. Its maintainer scripts make the user and the folder, tell systemd of the
# packaged unit, and on removal remove an administrator's registration too.
set(ORVEX_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}/OrvexServices)
set(ORVEX_SYSUSERS ${CMAKE_INSTALL_PREFIX}/${orvex_sysusers_dir}/orvex.conf)
set(ORVEX_TMPFILES ${CMAKE_INSTALL_PREFIX}/${orvex_tmpfiles_dir}/orvex.conf)
foreach(script postinst prerm postrm)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${script}.in ${orvex_packaging}/debian/${script} @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
endforeach()
file(WRITE ${orvex_packaging}/debian/conffiles "/etc/orvex/orvex.conf\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvex)
set(CPACK_PACKAGE_VENDOR "Orvex for Linux")
# orvex.example: a host of the project's own that exists nowhere else (RFC 2606 keeps .example
# for such names), which Debian's checker accepts as a mail host.
set(CPACK_PACKAGE_CONTACT "Orvex for Linux maintainers <packaging@orvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PC side of a forecourt camera system")
# Debian's checker wants lines of at most 80 characters; CPack indents each.
set(CPACK_PACKAGE_DESCRIPTION "The service OrvexServices owns the serial link to an Orvex controller
unit, keeps the site's configuration, and publishes the unit's forecourt
events to recorder software on the system D-Bus (members of group orvex
may call it). The package also carries the site engineer's configuration
tool OrvexConfig and the operator's event monitor WatchDesk.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt programs lay their windows out in pixels for Arial's metrics, which Liberation Sans shares.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "dbus, systemd, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${orvex_packaging}/debian/postinst ${orvex_packaging}/debian/prerm
    ${orvex_packaging}/debian/postrm ${orvex_packaging}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
