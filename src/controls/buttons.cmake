# Sources of the buttons group.
target_sources(orvane_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/KivButtonBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KivButtonDropDown.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KivReopenGuard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivCheckBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivComboButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivCbnColorButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivStatic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivImageDialog.cpp)
