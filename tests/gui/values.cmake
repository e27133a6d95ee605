# Widget tests of the values group.
orvane_add_gui_test(value_controls_test
  ${CMAKE_CURRENT_LIST_DIR}/values/SliderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/values/EditTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/values/ProgressScrollTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/values/ColorStaticTest.cpp
  LIBS orvane_controls)
