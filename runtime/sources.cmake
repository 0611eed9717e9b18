mfvc_core(runtime/Strings.cpp runtime/MenuKeys.cpp)
mfvc_win(
  runtime/Win.cpp
  runtime/Graphics.cpp
  runtime/Component.cpp
  runtime/Control.cpp
  runtime/WinControl.cpp
  runtime/WinControlMouse.cpp
  runtime/StdControls.cpp
  runtime/Actions.cpp
  runtime/Forms.cpp
  runtime/Application.cpp
  runtime/Menus.cpp
  runtime/ParentBackground.cpp
  runtime/Dialogs.cpp
  runtime/ThreadCrossing.cpp
  runtime/Thread.cpp
  runtime/Taskbar.cpp)
