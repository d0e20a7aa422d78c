# Helpers that keep each CMakeLists.txt a short table of contents.

# Warnings are errors everywhere.
add_library(snapord_warnings INTERFACE)
target_compile_options(snapord_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror -Wshadow)

# snapord_library(<name> SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
# One static library per source folder; headers are included as "<folder>/<file>.h" from src/.
function(snapord_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE snapord_warnings ${ARG_PRIVATE_DEPS})
endfunction()

# add_unit_test(<name> SOURCES ... [LIBS ...])
# A GoogleTest program registered with ctest as one test.
function(add_unit_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} testsupport GTest::gmock GTest::gtest GTest::gtest_main
                                          snapord_warnings)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
