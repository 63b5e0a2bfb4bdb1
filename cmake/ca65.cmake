# 6502 programs assembled with ca65 and linked with ld65 at build time.
#
# ca65_link(<output> <linker config> <sources...>) assembles each source (relative to
# the calling folder, assembled in its own folder so its includes resolve) into
# ${CA65_OUT}/obj/<output's name> and links them into ${CA65_OUT}/<output>, with a map
# file beside it (so two outputs may share a source).
# A source is assembled again when it or one of ${CA65_INCLUDES} changes.

find_program(CA65 ca65)
find_program(LD65 ld65)
if(NOT CA65 OR NOT LD65)
  message(FATAL_ERROR "ca65 and ld65 (the cc65 package) are needed to build the 6502 programs; "
                      "run scripts/install-deps or install cc65")
endif()

function(ca65_link output config)
  get_filename_component(base ${output} NAME_WE)
  set(objects)
  foreach(source ${ARGN})
    get_filename_component(dir ${source} DIRECTORY)
    get_filename_component(name ${source} NAME_WE)
    set(object ${CA65_OUT}/obj/${base}/${dir}/${name}.o)
    add_custom_command(
      OUTPUT ${object}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CA65_OUT}/obj/${base}/${dir}
      COMMAND ${CA65} -g -o ${object} ${CMAKE_CURRENT_SOURCE_DIR}/${source}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${CA65_INCLUDES}
      WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${dir}
      COMMENT "Assembling ${source}"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  add_custom_command(
    OUTPUT ${CA65_OUT}/${output}
    COMMAND ${LD65} -C ${CMAKE_CURRENT_SOURCE_DIR}/${config} -o ${CA65_OUT}/${output}
            -m ${CA65_OUT}/${base}.map ${objects}
    DEPENDS ${objects} ${CMAKE_CURRENT_SOURCE_DIR}/${config}
    COMMENT "Linking ${output}"
    VERBATIM)
endfunction()
