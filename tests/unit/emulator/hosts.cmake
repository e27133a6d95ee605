# Tests of the simulated mouse's hosts. Paths are taken from this file's
# folder, wherever it is included from.
set(ORVANE_EMULATOR_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})

orvane_add_unit_test(emulator_protocol_tests
  ${ORVANE_EMULATOR_TEST_DIR}/BusProtocolTest.cpp
  LIBS orvane_bus_protocol)

orvane_add_unit_test(emulator_virtual_bus_tests
  ${ORVANE_EMULATOR_TEST_DIR}/VirtualHidBusTest.cpp
  LIBS orvane_virtual_bus)

# These start servers on sockets in temporary folders, and the real programs.
add_executable(emulator_daemon_tests ${ORVANE_EMULATOR_TEST_DIR}/DaemonTest.cpp)
target_link_libraries(emulator_daemon_tests PRIVATE
  orvane_emulator_daemon orvane_emulator_client orvane_emu_commands
  orvane_test_support GTest::gmock GTest::gtest_main)
target_compile_definitions(emulator_daemon_tests PRIVATE
  ORVANE_EMUD_PATH="$<TARGET_FILE:orvane-emud>"
  ORVANE_EMU_PATH="$<TARGET_FILE:orvane-emu>")
add_dependencies(emulator_daemon_tests orvane-emud orvane-emu)
orvane_set_warnings(emulator_daemon_tests)
# Listed from the source rather than discovered, since discovery cannot
# hand a list of labels on.
gtest_add_tests(TARGET emulator_daemon_tests TEST_LIST daemonTests)
set_tests_properties(${daemonTests} PROPERTIES LABELS "unit;daemon" TIMEOUT 60)

# Every command of the tool answers --help with its usage and exit status 0.
add_test(NAME orvane-emu.HelpForEveryCommand
  COMMAND ${CMAKE_COMMAND} -DORVANE_EMU=$<TARGET_FILE:orvane-emu>
          -P ${ORVANE_EMULATOR_TEST_DIR}/help-for-every-command.cmake)
set_tests_properties(orvane-emu.HelpForEveryCommand PROPERTIES LABELS unit)
