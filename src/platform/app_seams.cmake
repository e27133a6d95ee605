# Where the application keeps its files (no Qt).
add_library(orvane_app_paths STATIC AppPaths.cpp)
target_include_directories(orvane_app_paths PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
orvane_set_warnings(orvane_app_paths)

# One copy of the application per user, over a local socket.
add_library(orvane_single_instance STATIC qt/LocalSocketSingleInstance.cpp
                                          qt/LocalSocketSingleInstance.h SingleInstance.h)
set_target_properties(orvane_single_instance PROPERTIES AUTOMOC ON)
target_include_directories(orvane_single_instance PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_link_libraries(orvane_single_instance PUBLIC Qt6::Core Qt6::Network)
orvane_set_warnings(orvane_single_instance)
