mfvc_win(
  controls/TFlatPanelUnit.cpp
  controls/WlmShiftImage.cpp
  controls/SUIURLLabel.cpp)
