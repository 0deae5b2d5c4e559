# The freedesktop.org and AppStream validators on the tree install.tree put in STAGE.
# Each passes only with exit status 0 and nothing to say beyond its success line: no
# hint, no pedantic remark. Takes STAGE, APP_ID, DATADIR, DESKTOP_FILE_VALIDATE and
# APPSTREAMCLI.
set(problems "")
set(share ${STAGE}/usr/${DATADIR})

function(validate name quiet)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    string(STRIP "${out}" said)
    if(NOT rc EQUAL 0 OR NOT said STREQUAL quiet)
        set(problems "${problems}${name} (exit status ${rc}):\n${out}\n" PARENT_SCOPE)
    endif()
endfunction()

validate(desktop-file-validate ""
    ${DESKTOP_FILE_VALIDATE} ${share}/applications/${APP_ID}.desktop)
validate("appstreamcli validate" "✔ Validation was successful."
    ${APPSTREAMCLI} validate --no-net --pedantic ${share}/metainfo/${APP_ID}.metainfo.xml)
# The whole tree: the metadata's launchable desktop entry and its binary are there too.
validate("appstreamcli validate-tree" "✔ Validation was successful."
    ${APPSTREAMCLI} validate-tree --no-net --pedantic --strict ${STAGE})

if(NOT problems STREQUAL "")
    message(FATAL_ERROR "${problems}")
endif()
