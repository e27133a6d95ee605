# Every command of orvane-emu answers --help with its usage and exit status 0.
foreach(command "" "plug" "unplug" "press-dpi-button" "press-button" "set-quality" "fault"
        "fault set-fail" "fault get-fail" "fault busy" "fault status-zero" "fault never-reply"
        "fault unplug-after" "fault clear" "dump" "save" "load")
  separate_arguments(words UNIX_COMMAND "${command}")
  execute_process(COMMAND ${ORVANE_EMU} ${words} --help
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT output MATCHES "Usage:")
    message(FATAL_ERROR "orvane-emu ${command} --help: status ${status}\n${output}${errors}")
  endif()
endforeach()
