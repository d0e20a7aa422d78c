# Reads the layer table LAYERS.md: the build links each library from it and the layer check
# (tests/architecture/check_layers.cmake) checks every include against it. Both read it through
# snapord_read_layers(), so the two cannot disagree.
#
# After snapord_read_layers(<file>) the caller's scope holds:
#   SNAPORD_LAYER_ROWS               row ids, lowest first: the library, or the folder of a row without one
#   SNAPORD_LAYER_<id>_FOLDER        the row's folder (or file), relative to the repository
#   SNAPORD_LAYER_<id>_LIBRARY       the CMake target, empty for a row without one
#   SNAPORD_LAYER_<id>_DEPS          the row ids it may include, `*` expanded
#   SNAPORD_LAYER_<id>_OUTSIDE       the outside header groups it may include
#   SNAPORD_OUTSIDE_GROUPS           the groups; SNAPORD_OUTSIDE_<group> its header names and folders
#   SNAPORD_LAYER_ERRORS             faults of the table itself (a row naming a row above it, ...)

# The cells of one table line "| a | b c |" as a list of trimmed strings.
function(_snapord_table_cells line out)
    string(REGEX REPLACE "^[ \t]*\\|(.*)\\|[ \t]*$" "\\1" inner "${line}")
    string(REPLACE "|" ";" raw "${inner}")
    set(cells)
    foreach(cell IN LISTS raw)
        string(STRIP "${cell}" cell)
        list(APPEND cells "${cell}")
    endforeach()
    set(${out} "${cells}" PARENT_SCOPE)
endfunction()

macro(snapord_read_layers table_file)
    set(SNAPORD_LAYER_ROWS)
    set(SNAPORD_OUTSIDE_GROUPS)
    set(SNAPORD_LAYER_ERRORS)
    file(STRINGS "${table_file}" _layer_lines REGEX "^[ \t]*\\|")
    foreach(_layer_line IN LISTS _layer_lines)
        if(_layer_line MATCHES "^[ \t]*\\|[ \t]*---+[ \t]*\\|")
            continue() # the line under a table's head
        endif()
        _snapord_table_cells("${_layer_line}" _layer_cells)
        list(LENGTH _layer_cells _layer_count)
        list(GET _layer_cells 0 _layer_first)
        if(_layer_first STREQUAL "library" OR _layer_first STREQUAL "outside")
            continue() # a table's head
        endif()
        if(_layer_count EQUAL 2)
            list(GET _layer_cells 1 _layer_headers)
            separate_arguments(_layer_headers UNIX_COMMAND "${_layer_headers}")
            list(APPEND SNAPORD_OUTSIDE_GROUPS "${_layer_first}")
            set(SNAPORD_OUTSIDE_${_layer_first} "${_layer_headers}")
        elseif(_layer_count EQUAL 4)
            list(GET _layer_cells 1 _layer_folder)
            list(GET _layer_cells 2 _layer_deps)
            list(GET _layer_cells 3 _layer_outside)
            separate_arguments(_layer_deps UNIX_COMMAND "${_layer_deps}")
            separate_arguments(_layer_outside UNIX_COMMAND "${_layer_outside}")
            if(_layer_first STREQUAL "-")
                set(_layer_id "${_layer_folder}")
                set(SNAPORD_LAYER_${_layer_id}_LIBRARY "")
            else()
                set(_layer_id "${_layer_first}")
                set(SNAPORD_LAYER_${_layer_id}_LIBRARY "${_layer_first}")
            endif()
            if(_layer_id IN_LIST SNAPORD_LAYER_ROWS)
                list(APPEND SNAPORD_LAYER_ERRORS "LAYERS.md: the row ${_layer_id} appears twice")
            endif()
            # A row may name only rows above it: the arrows point down and cannot close a circle.
            set(_layer_expanded)
            foreach(_layer_dep IN LISTS _layer_deps)
                if(_layer_dep STREQUAL "*")
                    list(APPEND _layer_expanded ${SNAPORD_LAYER_ROWS})
                elseif(_layer_dep IN_LIST SNAPORD_LAYER_ROWS)
                    list(APPEND _layer_expanded "${_layer_dep}")
                else()
                    list(APPEND SNAPORD_LAYER_ERRORS
                         "LAYERS.md: ${_layer_id} may include ${_layer_dep}, which is no row above it")
                endif()
            endforeach()
            list(REMOVE_DUPLICATES _layer_expanded)
            set(SNAPORD_LAYER_${_layer_id}_FOLDER "${_layer_folder}")
            set(SNAPORD_LAYER_${_layer_id}_DEPS "${_layer_expanded}")
            set(SNAPORD_LAYER_${_layer_id}_OUTSIDE "${_layer_outside}")
            list(APPEND SNAPORD_LAYER_ROWS "${_layer_id}")
        else()
            list(APPEND SNAPORD_LAYER_ERRORS "LAYERS.md: a table line with ${_layer_count} cells: ${_layer_line}")
        endif()
    endforeach()
    foreach(_layer_id IN LISTS SNAPORD_LAYER_ROWS)
        foreach(_layer_group IN LISTS SNAPORD_LAYER_${_layer_id}_OUTSIDE)
            if(NOT _layer_group IN_LIST SNAPORD_OUTSIDE_GROUPS)
                list(APPEND SNAPORD_LAYER_ERRORS "LAYERS.md: ${_layer_id} names the unknown outside group ${_layer_group}")
            endif()
        endforeach()
    endforeach()
endmacro()

# The row of the library <library>, or empty.
function(snapord_layer_of_library library out)
    set(found "")
    foreach(id IN LISTS SNAPORD_LAYER_ROWS)
        if(SNAPORD_LAYER_${id}_LIBRARY STREQUAL library)
            set(found "${id}")
        endif()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

# The libraries a row may include, as CMake targets (rows without a library left out).
function(snapord_layer_libraries id out)
    set(libraries)
    foreach(dep IN LISTS SNAPORD_LAYER_${id}_DEPS)
        if(SNAPORD_LAYER_${dep}_LIBRARY)
            list(APPEND libraries "${SNAPORD_LAYER_${dep}_LIBRARY}")
        endif()
    endforeach()
    set(${out} "${libraries}" PARENT_SCOPE)
endfunction()
