# Module resources as byte arrays in C++ sources.
#
# Included:  embed_resource(OUTPUT out.cpp SYMBOL name INPUT file [NAMESPACE ns])
#            adds a build step that writes out.cpp from the file whenever it changes.
# As script: cmake -DINPUT=… -DOUTPUT=… -DSYMBOL=… -DNAMESPACE=… -P EmbedResource.cmake
#
# The source defines `const unsigned char SYMBOL[]` (with one extra zero byte,
# so text stays terminated and an empty file still compiles) and
# `const unsigned long SYMBOLSize`, the file's own size.

if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
  get_filename_component(name "${INPUT}" NAME)
  file(WRITE "${OUTPUT}.new"
    "// Generated from ${name} by EmbedResource.cmake; do not edit.\n"
    "namespace ${NAMESPACE} {\n"
    "extern const unsigned char ${SYMBOL}[] = {\n    ${bytes}0x00};\n"
    "extern const unsigned long ${SYMBOL}Size = ${size};\n"
    "}  // namespace ${NAMESPACE}\n")
  file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUTPUT}.new")
  return()
endif()

set(EMBED_RESOURCE_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(embed_resource)
  cmake_parse_arguments(A "" "OUTPUT;SYMBOL;INPUT;NAMESPACE" "DEPENDS" ${ARGN})
  if(NOT A_NAMESPACE)
    set(A_NAMESPACE resources)
  endif()
  add_custom_command(OUTPUT ${A_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${A_INPUT} -DOUTPUT=${A_OUTPUT} -DSYMBOL=${A_SYMBOL}
            -DNAMESPACE=${A_NAMESPACE} -P ${EMBED_RESOURCE_SCRIPT}
    DEPENDS ${A_INPUT} ${EMBED_RESOURCE_SCRIPT} ${A_DEPENDS}
    COMMENT "Embedding ${A_INPUT}"
    VERBATIM)
endfunction()
