# Event capture, device-change listener and firmware update. Their exports go
# into the shared library only, so that the core (and every test linking it)
# needs no hidapi; Close_device's hid_exit lives there.
target_sources(orvane_devlib_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Capture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceListener.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareUpdate.cpp
)
target_link_libraries(orvane_devlib_core PUBLIC orvane_device_monitor)
target_sources(Orvane_pro_dll PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CaptureExports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareExports.cpp
)
