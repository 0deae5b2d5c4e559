# GoogleTest for a cross build, and the tests run through an emulator (Wine for Windows):
# gtest_discover_tests here adds one test that runs the whole program, since listing its
# cases would start the emulator at build time.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# (It names its targets GTest::gtest and GTest::gtest_main, as find_package does.)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "A cross build's tests need CMAKE_CROSSCOMPILING_EMULATOR")
endif()

# The folders of the DLLs the test programs load: Qt's and the compiler's run time.
set(dll_dirs ${DORVATH_WINDOWS_QT}/bin)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dir ${path} DIRECTORY)
    list(APPEND dll_dirs ${dir})
endforeach()
list(REMOVE_DUPLICATES dll_dirs)
set(wine_path "")
foreach(dir IN LISTS dll_dirs)
    string(REPLACE "/" "\\" dir "Z:${dir}")
    list(APPEND wine_path "${dir}")
endforeach()
string(REPLACE ";" "\\;" wine_path "${wine_path}")

function(gtest_discover_tests target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "NO_PRETTY_VALUES" "DISCOVERY_TIMEOUT" "PROPERTIES")
    add_test(NAME ${target} COMMAND ${target})
    # Qt's offscreen platform on Windows takes its fonts from a folder, not from the
    # system: Debian's DejaVu (fonts-dejavu-core), as the Linux tests get through fontconfig.
    set_property(TEST ${target} PROPERTY ENVIRONMENT "WINEPATH=${wine_path}"
        "QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu")
    # PROPERTIES NAME value..., where a value list arrives flattened.
    set(key "")
    foreach(item IN LISTS arg_PROPERTIES)
        if(item MATCHES "^[A-Z_]+$")
            set(key ${item})
        else()
            set_property(TEST ${target} APPEND PROPERTY ${key} "${item}")
        endif()
    endforeach()
endfunction()
