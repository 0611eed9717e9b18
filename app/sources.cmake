mfvc_core(app/IniText.cpp app/FileList.cpp app/BatchSummary.cpp)
mfvc_win(
  app/MainForm.cpp
  app/MainSettings.cpp
  app/MainCommands.cpp
  app/MainMessages.cpp
  app/MainDialogs.cpp
  app/Settings.cpp
  app/ConvertCommand.cpp
  app/ShellFiles.cpp
  app/SingleInstance.cpp)
