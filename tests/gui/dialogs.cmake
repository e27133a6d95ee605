# Widget tests of the dialogs group.
orvane_add_gui_test(orvane_gui_dialogs
  dialogs/PopupLayoutTest.cpp
  dialogs/PopupCountdownTest.cpp
  dialogs/PopupKeyCaptureTest.cpp
  dialogs/RenameDialogTest.cpp
  LIBS orvane_controls orvane_device)

# Not a test: draws the dialogs from a real skin, for looking at them.
add_executable(orvane_dialog_snapshots dialogs/RenderDialogs.cpp)
target_link_libraries(orvane_dialog_snapshots PRIVATE orvane_controls Qt6::Test)
orvane_set_warnings(orvane_dialog_snapshots)
