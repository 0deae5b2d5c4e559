# Programs started from the tests and the benchmarks, and their private X server: one
# library for both, defined by whichever of them comes first.
include_guard(GLOBAL)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core)
add_library(dorvath_process STATIC ${CMAKE_CURRENT_LIST_DIR}/Process.cpp)
target_include_directories(dorvath_process PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(dorvath_process PUBLIC Qt6::Core)
