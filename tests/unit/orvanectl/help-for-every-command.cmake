# Every command answers --help with its usage and exit status 0.
foreach(command "" "profile" "profile new" "profile show" "profile image" "macro" "macro show"
                "status" "version" "profile get" "profile set-active" "profile reset"
                "profile copy" "dpi set" "polling set" "button set" "lighting set"
                "read-profile" "events" "firmware update")
  separate_arguments(words UNIX_COMMAND "${command}")
  execute_process(COMMAND ${ORVANECTL} ${words} --help
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT output MATCHES "Usage:")
    message(FATAL_ERROR "orvanectl ${command} --help: status ${status}\n${output}${errors}")
  endif()
endforeach()
