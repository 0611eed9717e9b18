mfvc_win(
  dialogs/Useanother.cpp
  dialogs/About.cpp)
