# The layers are kept by the link lines: a library of the ground or of the
# widget-free modules that reaches Qt Widgets or Qt Multimedia, directly or
# through anything it links, stops the configure step; so does the program
# when it reaches a library that only its modules may load.

function(_varnolix_link_closure target out)
  set(seen ${${out}})
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libraries ${target} ${property})
    if(NOT libraries)
      continue()
    endif()
    foreach(library IN LISTS libraries)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
      if(library IN_LIST seen)
        continue()
      endif()
      # Named even where it is no target here: an imported target found in
      # a subfolder is seen only there.
      list(APPEND seen ${library})
      if(TARGET ${library})
        _varnolix_link_closure(${library} seen)
      endif()
    endforeach()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Stops the configure step when a target reaches one of the forbidden
# libraries, with the reason given.
function(_varnolix_forbid target reason)
  set(closure "")
  _varnolix_link_closure(${target} closure)
  foreach(forbidden IN LISTS ARGN)
    if(forbidden IN_LIST closure)
      message(FATAL_ERROR "${target} must not use ${forbidden}: ${reason}")
    endif()
  endforeach()
endfunction()

function(varnolix_require_widget_free)
  foreach(target IN LISTS ARGN)
    _varnolix_forbid(${target} "it is below the windows. Put widget code in a window folder or in widgets/."
                     Qt6::Widgets Qt::Widgets Qt6::Multimedia Qt::Multimedia)
  endforeach()
endfunction()

# The program loads Qt Multimedia with the sound module on the first sound,
# and Qt Serial Port and Qt Network with the DCC link module on the first
# open; linking them would load them, and all they pull in, at every start.
function(varnolix_require_modules_unlinked target)
  _varnolix_forbid(${target} "it is loaded with the sound module (platform/SoundModule.h) when a sound plays."
                   Qt6::Multimedia Qt::Multimedia)
  _varnolix_forbid(${target} "it is loaded with the DCC link module (platform/DccLinkModule.h) on the first open."
                   Qt6::SerialPort Qt::SerialPort Qt6::Network Qt::Network varnolix_dcc_link)
  _varnolix_forbid(${target} "it is loaded with the phone module (withrottle/PhoneServiceModule.h) when phones are switched on."
                   Qt6::DBus Qt::DBus varnolix_withrottle_net)
endfunction()
