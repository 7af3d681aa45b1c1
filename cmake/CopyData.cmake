# Copies the data folder beside the program. Pictures and other program files
# are refreshed; files in data/text that already exist are the user's own
# settings and are left alone.
get_filename_component(SOURCE "${SOURCE}" ABSOLUTE)
get_filename_component(DESTINATION "${DESTINATION}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(file IN LISTS files)
  set(target "${DESTINATION}/${file}")
  string(TOLOWER "${file}" lower)
  if(lower MATCHES "^text/" AND EXISTS "${target}")
    continue()
  endif()
  get_filename_component(folder "${target}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${SOURCE}/${file}" "${target}")
endforeach()
