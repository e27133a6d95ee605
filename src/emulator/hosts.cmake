# The hosts of the simulated mouse: the in-process bus, the socket protocol,
# the daemon, the virtual HID backend (its client) and the control tool.
# Paths are taken from this file's folder, wherever it is included from.
find_package(Threads REQUIRED)
find_package(CLI11 REQUIRED)
find_package(nlohmann_json 3.10 REQUIRED)

set(ORVANE_EMULATOR_DIR ${CMAKE_CURRENT_LIST_DIR})

# Frames, socket helpers and the state file's writer, shared by the daemon,
# the backend and the tool.
# The device-control library may link the backend, hence position-independent.
add_library(orvane_bus_protocol STATIC
  ${ORVANE_EMULATOR_DIR}/AtomicFile.cpp
  ${ORVANE_EMULATOR_DIR}/BusProtocol.cpp
  ${ORVANE_EMULATOR_DIR}/BusSocket.cpp
)
target_link_libraries(orvane_bus_protocol PUBLIC orvane_platform orvane_core)
orvane_set_warnings(orvane_bus_protocol)
set_target_properties(orvane_bus_protocol PROPERTIES POSITION_INDEPENDENT_CODE ON)

add_library(orvane_virtual_bus STATIC ${ORVANE_EMULATOR_DIR}/VirtualHidBus.cpp)
target_link_libraries(orvane_virtual_bus PUBLIC orvane_emulator orvane_platform orvane_bus_protocol)
orvane_set_warnings(orvane_virtual_bus)

# The `virtual` HID backend: a client of orvane-emud, without the model.
add_library(orvane_emulator_client STATIC
  ${ORVANE_EMULATOR_DIR}/../platform/virtual/EmulatorHidBus.cpp
)
target_link_libraries(orvane_emulator_client PUBLIC orvane_platform orvane_bus_protocol
                                             PRIVATE Threads::Threads)
orvane_set_warnings(orvane_emulator_client)
set_target_properties(orvane_emulator_client PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The server in a library of its own so that tests run it on a thread.
add_library(orvane_emulator_daemon STATIC
  ${ORVANE_EMULATOR_DIR}/daemon/BusServer.cpp
  ${ORVANE_EMULATOR_DIR}/daemon/InterruptibleClock.cpp
  ${ORVANE_EMULATOR_DIR}/daemon/StateFile.cpp
)
target_include_directories(orvane_emulator_daemon PUBLIC ${ORVANE_EMULATOR_DIR}/daemon)
target_link_libraries(orvane_emulator_daemon PUBLIC orvane_virtual_bus orvane_bus_protocol orvane_core
                                             PRIVATE Threads::Threads)
orvane_set_warnings(orvane_emulator_daemon)

add_executable(orvane-emud ${ORVANE_EMULATOR_DIR}/daemon/main.cpp)
target_link_libraries(orvane-emud PRIVATE orvane_emulator_daemon CLI11::CLI11)
orvane_set_warnings(orvane-emud)

# The tool's commands live in a library so that tests run them in-process
# with their own output streams.
add_library(orvane_emu_commands STATIC ${ORVANE_EMULATOR_DIR}/tool/EmuCommands.cpp)
target_include_directories(orvane_emu_commands PUBLIC ${ORVANE_EMULATOR_DIR}/tool)
target_link_libraries(orvane_emu_commands PUBLIC orvane_bus_protocol orvane_core CLI11::CLI11
                                          nlohmann_json::nlohmann_json)
orvane_set_warnings(orvane_emu_commands)

add_executable(orvane-emu ${ORVANE_EMULATOR_DIR}/tool/main.cpp)
target_link_libraries(orvane-emu PRIVATE orvane_emu_commands)
orvane_set_warnings(orvane-emu)

install(TARGETS orvane-emud orvane-emu RUNTIME DESTINATION bin)
