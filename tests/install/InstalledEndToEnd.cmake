# Included by tests/e2e/CMakeLists.txt, after its test target: the same end-to-end tests
# built once more, on the binary that install.tree put in DORVATH_INSTALL_STAGE. Copied
# from the target's own properties, so that it follows whatever that target becomes.
get_target_property(e2e_dir dorvath_e2e_tests SOURCE_DIR)
get_target_property(e2e_sources dorvath_e2e_tests SOURCES)
list(TRANSFORM e2e_sources PREPEND ${e2e_dir}/ REGEX "^[^/]")
foreach(property INCLUDE_DIRECTORIES LINK_LIBRARIES COMPILE_DEFINITIONS)
    get_target_property(value dorvath_e2e_tests ${property})
    if(NOT value)
        set(value)
    endif()
    set(e2e_${property} ${value})
endforeach()
list(FILTER e2e_COMPILE_DEFINITIONS EXCLUDE REGEX "^DORVATH_(EXECUTABLE|E2E_LOG_DIR)=")

add_executable(dorvath_installed_tests ${e2e_sources})
target_include_directories(dorvath_installed_tests PRIVATE ${e2e_INCLUDE_DIRECTORIES})
target_link_libraries(dorvath_installed_tests PRIVATE ${e2e_LINK_LIBRARIES})
target_compile_definitions(dorvath_installed_tests PRIVATE ${e2e_COMPILE_DEFINITIONS}
    DORVATH_EXECUTABLE="${DORVATH_INSTALL_STAGE}/usr/${CMAKE_INSTALL_BINDIR}/Dorvath"
    DORVATH_E2E_LOG_DIR="${CMAKE_BINARY_DIR}/test-artifacts/installed")
gtest_discover_tests(dorvath_installed_tests
    TEST_PREFIX installed.
    DISCOVERY_TIMEOUT 60
    NO_PRETTY_VALUES
    PROPERTIES
        FIXTURES_REQUIRED dorvath_installed
        TIMEOUT 600
        ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
