# Warning flags for our own targets only; dependencies keep their own.
function(ostrel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- $<$<BOOL:${OSTREL_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                           $<$<BOOL:${OSTREL_WERROR}>:-Werror>)
  endif()
endfunction()
