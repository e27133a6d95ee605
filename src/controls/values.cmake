# Sources of the values group.
target_sources(orvane_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CKivEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CQOREdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivProgressCtrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivScrollCtrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivSliderCtrl3D.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CKivSliderCtrlVer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CQorColorStatic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KivEditHexValidator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KivSliderMath.cpp)
