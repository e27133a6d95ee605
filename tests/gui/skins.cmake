# Widget tests of the skins group.
orvane_add_gui_test(skin_cache_tests skins/SkinCacheTest.cpp skins/FakeSkinFolder.h
                    LIBS orvane_skins)

# The one-copy rule over a local socket; needs the Qt event loop, hence here.
orvane_add_gui_test(single_instance_tests skins/LocalSocketSingleInstanceTest.cpp
                    LIBS orvane_single_instance)
