mfvc_core(app/IniText.cpp)
mfvc_win(
  app/Main.cpp
  app/MainDialogs.cpp
  app/Settings.cpp
  app/ConvertCommand.cpp)
