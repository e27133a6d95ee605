# Runs the generated udev rule over a table of devices and fails unless it
# tags exactly the mouse's configuration interface (application mode) and
# the boot loader's for uaccess, and grants nothing to anything else.
# -DRULE=<the configured rule> -DVENDOR=1209 -DPRODUCT=0001 -DBOOTLOADER=0002 -DINTERFACE=00
#
# It understands the part of the rule language the rule may use: matches
# (==, !=) on SUBSYSTEM, ACTION and ENV{...}, GOTO and LABEL, IMPORT{builtin}
# and IMPORT{parent} (the device's table holds what they would bring), and
# TAG+="uaccess". Anything else (MODE, GROUP, OWNER, RUN, patterns) fails
# the test: a rule that grows must be looked at again.
cmake_minimum_required(VERSION 3.25)

file(STRINGS "${RULE}" lines)

# Evaluates the rule for one device (a list of KEY=VALUE) into `granted`.
function(evaluate device granted)
  foreach(pair IN LISTS device)
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${pair}")
    set("value_${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
  endforeach()
  set(tagged FALSE)
  set(skipTo "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REPLACE "," ";" keys "${line}")
    set(matches TRUE)
    set(actions)
    foreach(key IN LISTS keys)
      string(STRIP "${key}" key)
      if(NOT key MATCHES "^([A-Z_]+(\\{[^}]*\\})?)(==|!=|\\+=|=)\"([^\"]*)\"$")
        message(FATAL_ERROR "not understood: ${key}")
      endif()
      set(name "${CMAKE_MATCH_1}")
      set(operator "${CMAKE_MATCH_3}")
      set(value "${CMAKE_MATCH_4}")
      if(value MATCHES "[*?[|]")
        message(FATAL_ERROR "a pattern matches more than the one id it names: ${key}")
      endif()
      if(operator STREQUAL "==" OR operator STREQUAL "!=")
        string(REGEX REPLACE "^ENV\\{(.*)\\}$" "\\1" variable "${name}")
        if(NOT DEFINED "value_${variable}")
          set(actual "")
        else()
          set(actual "${value_${variable}}")
        endif()
        if((operator STREQUAL "==" AND NOT actual STREQUAL value) OR
           (operator STREQUAL "!=" AND actual STREQUAL value))
          set(matches FALSE)
        endif()
      else()
        list(APPEND actions "${name}${operator}${value}")
      endif()
    endforeach()
    if(NOT skipTo STREQUAL "")
      if("LABEL=${skipTo}" IN_LIST actions)
        set(skipTo "")
      endif()
      continue()
    endif()
    if(NOT matches)
      continue()
    endif()
    foreach(action IN LISTS actions)
      if(action MATCHES "^GOTO=(.*)$")
        set(skipTo "${CMAKE_MATCH_1}")
      elseif(action STREQUAL "TAG+=uaccess")
        set(tagged TRUE)
      elseif(NOT action MATCHES "^LABEL=" AND NOT action STREQUAL "IMPORT{builtin}=usb_id"
             AND NOT action MATCHES "^IMPORT{parent}=HID_(ID|PHYS)$")
        message(FATAL_ERROR "the rule does more than tag for uaccess: ${action}")
      endif()
    endforeach()
  endforeach()
  set(${granted} ${tagged} PARENT_SCOPE)
endfunction()

string(TOUPPER "${VENDOR}" VENDOR_UPPER)
string(TOUPPER "${PRODUCT}" PRODUCT_UPPER)
string(TOUPPER "${BOOTLOADER}" BOOTLOADER_UPPER)
math(EXPR INTERFACE_NUMBER "0x${INTERFACE}")
set(base "ACTION=add,SUBSYSTEM=hidraw,ID_VENDOR_ID=${VENDOR}")
set(cases
  "yes|the configuration interface|${base},ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=${INTERFACE}"
  "yes|the boot loader|${base},ID_MODEL_ID=${BOOTLOADER},ID_USB_INTERFACE_NUM=${INTERFACE}"
  "yes|a change event|ACTION=change,SUBSYSTEM=hidraw,ID_VENDOR_ID=${VENDOR},ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=${INTERFACE}"
  "no|the mouse's second vendor interface|${base},ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=01"
  "no|the mouse's pointer interface|${base},ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=02"
  "no|another product of the vendor|${base},ID_MODEL_ID=ffff,ID_USB_INTERFACE_NUM=${INTERFACE}"
  "no|another vendor with our product id|ACTION=add,SUBSYSTEM=hidraw,ID_VENDOR_ID=046d,ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=${INTERFACE}"
  "no|an input node of the mouse|ACTION=add,SUBSYSTEM=input,ID_VENDOR_ID=${VENDOR},ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=${INTERFACE}"
  "no|a hidraw node that is not on USB|ACTION=add,SUBSYSTEM=hidraw"
  "yes|the simulated mouse in the kernel|ACTION=add,SUBSYSTEM=hidraw,HID_ID=0003:0000${VENDOR_UPPER}:0000${PRODUCT_UPPER},HID_PHYS=orvane-emud/input${INTERFACE_NUMBER}"
  "yes|the simulated boot loader in the kernel|ACTION=add,SUBSYSTEM=hidraw,HID_ID=0003:0000${VENDOR_UPPER}:0000${BOOTLOADER_UPPER},HID_PHYS=orvane-emud/input${INTERFACE_NUMBER}"
  "no|the simulated mouse's other interface|ACTION=add,SUBSYSTEM=hidraw,HID_ID=0003:0000${VENDOR_UPPER}:0000${PRODUCT_UPPER},HID_PHYS=orvane-emud/input9"
  "no|another kernel device with the mouse's place|ACTION=add,SUBSYSTEM=hidraw,HID_ID=0003:0000046D:0000${PRODUCT_UPPER},HID_PHYS=orvane-emud/input${INTERFACE_NUMBER}"
  "no|the mouse's ids elsewhere in the kernel|ACTION=add,SUBSYSTEM=hidraw,HID_ID=0003:0000${VENDOR_UPPER}:0000${PRODUCT_UPPER},HID_PHYS=usb-0000:00:14.0-1/input${INTERFACE_NUMBER}"
  "no|a removal|ACTION=remove,SUBSYSTEM=hidraw,ID_VENDOR_ID=${VENDOR},ID_MODEL_ID=${PRODUCT},ID_USB_INTERFACE_NUM=${INTERFACE}"
)
set(failures 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 expected)
  list(GET parts 1 what)
  list(GET parts 2 device)
  string(REPLACE "," ";" device "${device}")
  evaluate("${device}" granted)
  if((expected STREQUAL "yes") AND NOT granted)
    message(SEND_ERROR "${what}: not granted")
    math(EXPR failures "${failures} + 1")
  elseif((expected STREQUAL "no") AND granted)
    message(SEND_ERROR "${what}: granted")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures EQUAL 0)
  list(LENGTH cases count)
  message(STATUS "the rule grants exactly what it should (${count} devices)")
endif()
