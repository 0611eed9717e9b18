mfvc_core(app/IniText.cpp app/FileList.cpp)
mfvc_win(
  app/Main.cpp
  app/MainDialogs.cpp
  app/Settings.cpp
  app/ConvertCommand.cpp
  app/ShellFiles.cpp)
