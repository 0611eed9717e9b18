#pragma once
// The program title: application title, main window caption and the
// caption of every message box.
inline constexpr char kProgramTitle[] = "Marbex Free Video Converter";
// The main window's class name: the single-instance identity.
inline constexpr char kMainWindowClass[] = "Marbex Free Video Converter Made by Marbex Software";
// Posted by a second start to the running copy.
inline constexpr unsigned WM_ACTIVATEINSTANCE = 0x1703;
// A start that names files sends them to the running copy instead: a
// WM_COPYDATA whose dwData is this identifier and whose data is the file
// list as UTF-8 text, one full path a line.
inline constexpr unsigned long kCopyDataFileList = 0x4D465646;  // "MFVF"
