# Global key notifications: the interface with its subscriptions, and the
# X11 backend reading XInput 2 raw key events on a thread of its own.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(X11_XI REQUIRED IMPORTED_TARGET x11 xi)
add_library(orvane_keyboard_hook STATIC
  ${CMAKE_CURRENT_LIST_DIR}/KeyboardHook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/X11KeyMap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/X11KeyboardHook.cpp
)
target_link_libraries(orvane_keyboard_hook PUBLIC orvane_platform Threads::Threads
                                           PRIVATE PkgConfig::X11_XI)
orvane_set_warnings(orvane_keyboard_hook)
