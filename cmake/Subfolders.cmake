# rvp_add_subfolders(): adds every sub-folder of the current folder that has a CMakeLists.txt, in name order.
# Areas find one another by target name, so the order only has to be stable.
function(rvp_add_subfolders)
  file(GLOB parts LIST_DIRECTORIES true RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT parts)
  foreach(part ${parts})
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${part}/CMakeLists.txt")
      add_subdirectory(${part})
    endif()
  endforeach()
endfunction()
