# Event capture, device-change listener, firmware update and the device
# monitor, against the simulated mouse inside the test process.
orvane_add_unit_test(devlib_events_tests
  ${CMAKE_CURRENT_LIST_DIR}/CaptureTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListenerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareUpdateTest.cpp
  LIBS orvane_devlib_core orvane_platform_selection orvane_virtual_bus)
orvane_add_unit_test(device_monitor_tests
  ${CMAKE_CURRENT_LIST_DIR}/DeviceMonitorTest.cpp
  LIBS orvane_device_monitor orvane_virtual_bus)
