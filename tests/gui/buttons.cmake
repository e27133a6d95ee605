# Widget tests of the buttons group.
orvane_add_gui_test(orvane_gui_buttons
  buttons/ButtonTest.cpp
  buttons/MenuTest.cpp
  buttons/ComboButtonTest.cpp
  LIBS orvane_controls)
