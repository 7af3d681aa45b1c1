# Every target of the project gets the same high warning level.
function(varnolix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(VARNOLIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(VARNOLIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
