mfvc_win(
  controls/ParentBackground.cpp
  controls/TFlatPanelUnit.cpp
  controls/WlmShiftImage.cpp
  controls/SUIURLLabel.cpp)
