# Draws the templates anew into a scratch folder and compares them with the shipped ones: a
# change of the generator, or of the drawing it relies on, must come with the templates it makes
# (scripts/make-templates.sh). The GIF previews are checked by the ui tests.
# Arguments: -DGENERATOR=<zp-make-templates> -DSOURCE=<source tree> -DSCRATCH=<scratch folder>
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${GENERATOR} ${SCRATCH}/Vorlagen ${SCRATCH}/Bildvorlagen RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zp-make-templates failed (${rc})")
endif()

set(stale "")
foreach(folder Vorlagen Bildvorlagen)
  file(GLOB_RECURSE made RELATIVE ${SCRATCH}/${folder} ${SCRATCH}/${folder}/*)
  file(GLOB_RECURSE shipped RELATIVE ${SOURCE}/resources/${folder} ${SOURCE}/resources/${folder}/*)
  list(FILTER shipped EXCLUDE REGEX "\\.gif$")
  list(SORT made)
  list(SORT shipped)
  if(NOT made STREQUAL shipped)
    message(FATAL_ERROR "resources/${folder} holds other files than the generator makes:\n${shipped}\n${made}")
  endif()
  foreach(file ${made})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${folder}/${file}
                            ${SOURCE}/resources/${folder}/${file} RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      list(APPEND stale ${folder}/${file})
    endif()
  endforeach()
endforeach()
if(stale)
  message(FATAL_ERROR "not what zp-make-templates makes now (run scripts/make-templates.sh): ${stale}")
endif()
