# Sources of the colour group.
target_sources(orvane_controls PRIVATE
  HsvColor.cpp
  HxDrawHelper.cpp
  HxColorSelectorWnd.cpp
  HxColorSliderWnd.cpp
  HxColorWellWnd.cpp
)
