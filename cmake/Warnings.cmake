# One place for the warning policy, applied to every target of ours through
# orvane_set_warnings(); third-party code is never built with it. Warnings
# become errors only where ORVANE_WERROR is set (the presets, CI): a user's
# build must not break on a newer compiler's new warning.
option(ORVANE_WERROR "Treat warnings as errors" OFF)

function(orvane_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ORVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
