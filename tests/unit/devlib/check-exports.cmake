# Compares the dynamic symbols a library defines with the exports its header
# declares plus hidapi's functions; any difference either way fails.
# -DNM=... -DLIBRARY=... -DHEADER=...
file(READ ${HEADER} header)
string(REGEX MATCHALL "ORVANE_API[^;(]*[ *]([A-Za-z_][A-Za-z_0-9]*)[ ]*\\(" declarations "${header}")
set(expected)
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE ".*[ *]([A-Za-z_][A-Za-z_0-9]*)[ ]*\\($" "\\1" name "${declaration}")
  if(NOT name MATCHES "^__")
    list(APPEND expected ${name})
  endif()
endforeach()
list(LENGTH expected declared)
if(declared LESS 30)
  message(FATAL_ERROR "only ${declared} exports found in ${HEADER}: ${expected}")
endif()
list(APPEND expected hid_init hid_exit hid_enumerate hid_free_enumeration hid_open hid_open_path
  hid_write hid_read_timeout hid_read hid_set_nonblocking hid_send_feature_report
  hid_get_feature_report hid_close hid_get_manufacturer_string hid_get_product_string
  hid_get_serial_number_string hid_get_indexed_string hid_error)

execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(defined)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* ([^ ]+)$" "\\1" name "${line}")
  list(APPEND defined ${name})
endforeach()

set(extra ${defined})
list(REMOVE_ITEM extra ${expected})
set(missing ${expected})
list(REMOVE_ITEM missing ${defined})
if(extra OR missing)
  message(FATAL_ERROR "export table differs from the header\n  extra: ${extra}\n  missing: ${missing}")
endif()
list(LENGTH defined count)
message(STATUS "${count} exports match the header")
