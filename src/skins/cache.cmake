# Sources of the sheet cache.
target_sources(orvane_skins PRIVATE SkinFolder.cpp SkinCache.cpp)
