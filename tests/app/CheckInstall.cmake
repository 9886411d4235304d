# Installs the build into a fresh prefix and checks what lands there: the program, its language
# file and help, every template; and that the installed program takes <prefix>/share/zelk-pixaro
# for its program folder (a conversion keeps its settings file in the program folder).
# Arguments: -DBUILD=<build tree> -DSOURCE=<source tree> -DPREFIX=<scratch prefix>
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

set(data ${PREFIX}/share/zelk-pixaro)
foreach(file ${PREFIX}/bin/zelk-pixaro ${data}/lang.ini ${data}/help/index.html)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

foreach(folder Vorlagen Bildvorlagen)
  file(GLOB_RECURSE shipped RELATIVE ${SOURCE}/resources/${folder} ${SOURCE}/resources/${folder}/*)
  file(GLOB_RECURSE installed RELATIVE ${data}/${folder} ${data}/${folder}/*)
  list(SORT shipped)
  list(SORT installed)
  if(NOT shipped)
    message(FATAL_ERROR "resources/${folder} holds no templates")
  endif()
  if(NOT shipped STREQUAL installed)
    message(FATAL_ERROR "installed ${folder} differ from the shipped ones:\n${installed}\n${shipped}")
  endif()
endforeach()

file(GLOB_RECURSE projects ${data}/Vorlagen/*.dgm)
list(GET projects 0 project)
execute_process(COMMAND ${PREFIX}/bin/zelk-pixaro /a ${project} ${PREFIX}/preview.gif RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIX}/preview.gif)
  message(FATAL_ERROR "the installed program did not convert ${project} (${rc})")
endif()
if(NOT EXISTS ${data}/settings.ini OR EXISTS ${PREFIX}/bin/settings.ini)
  message(FATAL_ERROR "the installed program did not take ${data} for its program folder")
endif()
