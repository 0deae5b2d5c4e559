# Installs the build into a scratch DESTDIR with the prefix /usr and checks that what a
# desktop looks for is there and fits together. Run by ctest; takes BUILD_DIR, STAGE,
# APP_ID, BINDIR, DATADIR and ICON_SIZES.
set(problems)

file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
set(root ${STAGE}/usr)
set(icons ${root}/${DATADIR}/icons/hicolor)
set(desktop ${root}/${DATADIR}/applications/${APP_ID}.desktop)

foreach(file ${root}/${BINDIR}/Dorvath ${desktop}
        ${root}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml
        ${icons}/scalable/apps/${APP_ID}.svg ${root}/${DATADIR}/doc/dorvath/copyright)
    if(NOT EXISTS ${file})
        list(APPEND problems "not installed: ${file}")
    endif()
endforeach()
if(NOT ICON_SIZES)
    list(APPEND problems "no fixed-size icons were made (rsvg-convert not found)")
endif()

# Each PNG must be the size its folder says: the width and height stand in its header.
foreach(size IN LISTS ICON_SIZES)
    set(png ${icons}/${size}x${size}/apps/${APP_ID}.png)
    if(NOT EXISTS ${png})
        list(APPEND problems "not installed: ${png}")
        continue()
    endif()
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
        list(APPEND problems "${png} is not a ${size}x${size} PNG but ${width}x${height}")
    endif()
endforeach()

# The desktop entry starts the installed binary and names the installed icon.
if(EXISTS ${desktop})
    file(STRINGS ${desktop} exec REGEX "^Exec=")
    file(STRINGS ${desktop} icon REGEX "^Icon=")
    string(REGEX REPLACE "^Exec=([^ ]*).*" "\\1" exec "${exec}")
    if(NOT EXISTS ${root}/${BINDIR}/${exec})
        list(APPEND problems "the desktop entry runs \"${exec}\", not in ${root}/${BINDIR}")
    endif()
    if(NOT icon STREQUAL "Icon=${APP_ID}")
        list(APPEND problems "the desktop entry's icon is \"${icon}\", not ${APP_ID}")
    endif()
endif()

if(problems)
    list(JOIN problems "\n" problems)
    message(FATAL_ERROR "${problems}")
endif()
