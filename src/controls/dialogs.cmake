# Sources of the dialogs group.
target_sources(orvane_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CPopDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CRenameDlg.cpp)
# The key capture listens through the keyboard hook; the surface analysis
# question reaches the mouse through the device link.
target_link_libraries(orvane_controls PUBLIC orvane_keyboard_hook orvane_device)
