# A Debian package of the installed program: `cpack -G DEB` in a release tree.
set(CPACK_PACKAGE_NAME dorvath)
set(CPACK_PACKAGE_VENDOR "The Dorvath developers")
set(CPACK_PACKAGE_CONTACT "The Dorvath developers <developers@dorvath.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "planet going round the Sun in a 3:2 spin-orbit resonance")
set(CPACK_PACKAGE_DESCRIPTION [=[
Dorvath animates a planet going round the Sun while it turns about its own
axis one and a half times as fast as it orbits: three turns for every two
orbits, as Mercury does. The planet shows a yellow day half toward the Sun
and a silver night half, and a red marker on its surface shows that a place
on it faces the Sun again only after two full orbits.
.
Three buttons drive the picture: one step of 5 degrees, a continuous run of
1 degree every tenth of a second, and a reset to the start picture.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binary links, and their versions, from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt cannot open a window on X without its platform plugin, which the binary does not
# link (Qt only recommends it). Fonts come with fontconfig, which Qt depends on.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Debian wants the package's own change log beside its copyright, and lintian reads the
# package's notes on its findings; only the package has them.
if(TARGET Dorvath AND GZIP)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in changelog.Debian @ONLY)
    add_custom_command(OUTPUT changelog.Debian.gz
        COMMAND ${GZIP} -9 -n -c changelog.Debian > changelog.Debian.gz
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian
        VERBATIM)
    add_custom_target(dorvath_debian_changelog ALL DEPENDS changelog.Debian.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dorvath COMPONENT debian EXCLUDE_FROM_ALL)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides RENAME dorvath
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT debian EXCLUDE_FROM_ALL)
endif()
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)

include(CPack)
