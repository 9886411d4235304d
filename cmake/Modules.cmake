# One static library per folder of src/. A module links only the modules below it, so a call
# upwards fails to link; tests/layering checks that no header is included upwards either.
#
#   zp_module(NAME raster SOURCES a.cpp b.cpp DEPS zp_x PUBLIC_LIBS Qt6::Gui)
#
# A folder without sources yet is an interface target, so the ladder is complete from the start.
function(zp_module)
  cmake_parse_arguments(M "" "NAME" "SOURCES;DEPS;PUBLIC_LIBS" ${ARGN})
  set(target zp_${M_NAME})
  if(M_SOURCES)
    add_library(${target} STATIC ${M_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${M_DEPS} ${M_PUBLIC_LIBS} PRIVATE zp_warnings)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${M_DEPS} ${M_PUBLIC_LIBS})
  endif()
endfunction()
