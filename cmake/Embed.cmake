# Builds text files (form descriptions and images) into the program: each becomes a registered
# resource that rt::FindResource finds by file name.
function(brev_embed_resources target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  set(files "")
  foreach(f IN LISTS ARGN)
    list(APPEND files ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
  # A list would split into separate arguments; pass it joined with '|'.
  string(REPLACE ";" "|" files_arg "${files}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFILES=${files_arg}" -P ${CMAKE_SOURCE_DIR}/cmake/EmbedScript.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/EmbedScript.cmake
    COMMENT "Embedding resources and images"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
