# Helpers that keep each CMakeLists.txt a short table of contents.

# Warnings are errors everywhere.
add_library(snapord_warnings INTERFACE)
target_compile_options(snapord_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror -Wshadow)

# The layer table: which library may use which (LAYERS.md). Every library is linked from its row.
include(${CMAKE_CURRENT_LIST_DIR}/SnapordLayers.cmake)
snapord_read_layers(${PROJECT_SOURCE_DIR}/LAYERS.md)
if(SNAPORD_LAYER_ERRORS)
    list(JOIN SNAPORD_LAYER_ERRORS "\n  " layer_errors)
    message(FATAL_ERROR "${layer_errors}")
endif()
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LAYERS.md)

# snapord_link_layer(<target>): links <target> with the libraries its row of LAYERS.md names.
function(snapord_link_layer target)
    snapord_layer_of_library(${target} row)
    if(NOT row)
        message(FATAL_ERROR "${target} has no row in LAYERS.md: add one at the height where it belongs")
    endif()
    snapord_layer_libraries(${row} libraries)
    target_link_libraries(${target} PUBLIC ${libraries})
endfunction()

# snapord_check_layer_links(): fails the configuration when a target of the table links a library of
# the program that its row does not name (a target_link_libraries() written by hand beside the table).
function(snapord_check_layer_links)
    set(program_libraries)
    foreach(row IN LISTS SNAPORD_LAYER_ROWS)
        if(SNAPORD_LAYER_${row}_LIBRARY)
            list(APPEND program_libraries ${SNAPORD_LAYER_${row}_LIBRARY})
        endif()
    endforeach()
    foreach(row IN LISTS SNAPORD_LAYER_ROWS)
        set(target ${SNAPORD_LAYER_${row}_LIBRARY})
        if(NOT target OR NOT TARGET ${target})
            continue()
        endif()
        snapord_layer_libraries(${row} allowed)
        get_target_property(linked ${target} INTERFACE_LINK_LIBRARIES)
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(private ${target} LINK_LIBRARIES)
            list(APPEND linked ${private})
        endif()
        foreach(entry IN LISTS linked)
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" entry "${entry}")
            if(entry IN_LIST program_libraries AND NOT entry IN_LIST allowed)
                message(FATAL_ERROR "${target} links ${entry}, which its row of LAYERS.md does not name")
            endif()
        endforeach()
    endforeach()
endfunction()

# snapord_library(<name> SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
# One static library per source folder; headers are included as "<folder>/<file>.h" from src/. The
# libraries of the program it uses come from its row of LAYERS.md; PUBLIC_DEPS and PRIVATE_DEPS name
# what lies outside the program (curl, libjpeg, threads).
function(snapord_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    snapord_link_layer(${name})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE snapord_warnings ${ARG_PRIVATE_DEPS})
endfunction()

# snapord_discover_tests(<program> [PROPERTIES ...]): every test case of a GoogleTest program becomes a
# ctest test of its own, "<program>.<Suite>.<Case>". The cases are listed when ctest runs (so a listing
# runs in the tests' environment, sanitizer options included); a case that calls GTEST_SKIP() counts as
# skipped.
function(snapord_discover_tests program)
    cmake_parse_arguments(ARG "" "" "PROPERTIES" ${ARGN})
    gtest_discover_tests(${program} TEST_PREFIX "${program}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
endfunction()

# add_unit_test(<name> SOURCES ... [LIBS ...])
# A GoogleTest program whose cases ctest runs one by one.
function(add_unit_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} testsupport GTest::gmock GTest::gtest GTest::gtest_main
                                          snapord_warnings)
    snapord_discover_tests(${name})
endfunction()
