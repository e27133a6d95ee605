# Widget tests of the colour group.
orvane_add_unit_test(colour_hsv_test colour/HsvColorTest.cpp LIBS orvane_controls)
orvane_add_gui_test(colour_windows_test
  colour/HxDrawHelperTest.cpp
  colour/HxColorSelectorWndTest.cpp
  colour/HxColorSliderWndTest.cpp
  colour/HxColorWellWndTest.cpp
  LIBS orvane_controls)
