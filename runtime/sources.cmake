mfvc_core(runtime/Strings.cpp runtime/MenuKeys.cpp)
mfvc_win(
  runtime/Win.cpp
  runtime/Graphics.cpp
  runtime/Controls.cpp
  runtime/Forms.cpp
  runtime/Menus.cpp
  runtime/Dialogs.cpp
  runtime/Thread.cpp)
