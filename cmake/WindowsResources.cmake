# The Windows exe's resources: the program's icon, made from the XPM at build time, and
# its version information.
#   dorvath_windows_resources(<target> <xpm>)
function(dorvath_windows_resources target xpm)
    find_program(DORVATH_CONVERT convert REQUIRED)
    set(ico ${CMAKE_CURRENT_BINARY_DIR}/Dorvath.ico)
    # The 32 x 32 16-colour picture as drawn, a smaller one and larger ones enlarged
    # pixel for pixel; the largest is stored as PNG.
    add_custom_command(OUTPUT ${ico}
        COMMAND ${DORVATH_CONVERT}
            "(" ${xpm} -colors 16 ")"
            "(" ${xpm} -filter box -resize 16x16 ")"
            "(" ${xpm} -filter point -resize 48x48 ")"
            "(" ${xpm} -filter point -resize 64x64 ")"
            "(" ${xpm} -filter point -resize 256x256 ")"
            ${ico}
        DEPENDS ${xpm}
        VERBATIM)
    set(DORVATH_ICO ${ico})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/Dorvath.rc)
    configure_file(${PROJECT_SOURCE_DIR}/data/windows/Dorvath.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ico})
    target_sources(${target} PRIVATE ${rc})
    # A window program: no console opens beside it.
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()
