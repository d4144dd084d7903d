# Runs the asset generator into OUTPUT_ROOT and fails unless every file it
# writes is byte-identical to the committed file under SOURCE_ROOT.
# Usage: cmake -DGENERATOR=... -DSOURCE_ROOT=... -DOUTPUT_ROOT=... -P compare_assets.cmake
foreach(var GENERATOR SOURCE_ROOT OUTPUT_ROOT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "compare_assets: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUTPUT_ROOT})
file(MAKE_DIRECTORY ${OUTPUT_ROOT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT_ROOT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "compare_assets: generator failed (${status})")
endif()

file(GLOB_RECURSE generated RELATIVE ${OUTPUT_ROOT} ${OUTPUT_ROOT}/*)
list(LENGTH generated count)
# 11 images, the music and 4 sounds, 8 models, 1 icon: fewer means the generator silently skipped some.
if(count LESS 25)
  message(FATAL_ERROR "compare_assets: only ${count} files generated")
endif()

set(mismatches "")
foreach(file ${generated})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                          ${OUTPUT_ROOT}/${file} ${SOURCE_ROOT}/${file}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND mismatches ${file})
  endif()
endforeach()
if(mismatches)
  message(FATAL_ERROR "compare_assets: differs from the committed file: ${mismatches}")
endif()
message(STATUS "compare_assets: ${count} files identical")
