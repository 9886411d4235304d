# One static library per folder of src/. A module links only the modules below it, so a call
# upwards fails to link; tests/layering checks that no header is included upwards either.
#
#   zp_module(NAME raster SOURCES a.cpp b.cpp DEPS zp_x PUBLIC_LIBS Qt6::Gui)
#
# A folder without sources yet is an interface target, so the ladder is complete from the start.
# The fuzz project (tests/fuzz) includes this file too and builds the same modules with its own
# compiler and flags; paths are therefore taken relative to this file, not to the project.

get_filename_component(ZP_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# Every target of ours is built with these warnings and must emit none. A switch over an
# enumeration that misses a value is an error: the command router relies on it.
add_library(zp_warnings INTERFACE)
target_compile_options(zp_warnings INTERFACE -Wall -Wextra -Werror=switch)

function(zp_module)
  cmake_parse_arguments(M "" "NAME" "SOURCES;DEPS;PUBLIC_LIBS" ${ARGN})
  set(target zp_${M_NAME})
  if(M_SOURCES)
    add_library(${target} STATIC ${M_SOURCES})
    target_include_directories(${target} PUBLIC ${ZP_SOURCE_ROOT}/src)
    target_link_libraries(${target} PUBLIC ${M_DEPS} ${M_PUBLIC_LIBS} PRIVATE zp_warnings)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${ZP_SOURCE_ROOT}/src)
    target_link_libraries(${target} INTERFACE ${M_DEPS} ${M_PUBLIC_LIBS})
  endif()
endfunction()
