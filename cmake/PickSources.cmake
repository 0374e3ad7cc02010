# bv_pick_sources(OUT ROOT FOLDER...): the sources directly in ROOT, then,
# from ROOT's subfolders in the order given, one source per concern (a file
# name without its extension): a later folder's source replaces an earlier
# one's of the same name. This is how a build for another system takes the
# parts of a room that fit it and brings its own for the rest.
function(bv_pick_sources out root)
  file(GLOB sources CONFIGURE_DEPENDS ${root}/*.cpp)
  set(concerns)
  foreach(folder IN LISTS ARGN)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${root}/${folder}/*.cpp)
    foreach(source IN LISTS folder_sources)
      get_filename_component(concern ${source} NAME_WE)
      set(picked_${concern} ${source})
      list(APPEND concerns ${concern})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES concerns)
  foreach(concern IN LISTS concerns)
    list(APPEND sources ${picked_${concern}})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
