# Copies the shipped files from SRC into DST, next to the program, so a build tree is a
# working program folder. Files the user changes there (the settings) are only copied when
# they are missing; everything else follows the sources.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f ${files})
    if(f MATCHES "^preview/")
        continue()
    endif()
    if(f STREQUAL "drovak.ini" AND EXISTS ${DST}/${f})
        continue()
    endif()
    get_filename_component(dir ${DST}/${f} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SRC}/${f} ${DST}/${f})
endforeach()
