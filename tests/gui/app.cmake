# The main window's logic, driven offscreen against the in-process simulated
# mouse, with the generated skin.
orvane_add_gui_test(main_window_tests
  app/MainWindowTest.cpp
  app/MouseConnectionTest.cpp
  LIBS orvane_app_windows orvane_virtual_bus)
target_compile_definitions(main_window_tests PRIVATE
  ORVANE_TEST_SKIN_FOLDER="${CMAKE_BINARY_DIR}/bin/ORVANE_Pro_Skins")
if(TARGET orvane_skin_folder)
  add_dependencies(main_window_tests orvane_skin_folder)
endif()
# The library is loaded from beside the test program, as from beside OrvaneConfig.
add_dependencies(main_window_tests Orvane_pro_dll)
