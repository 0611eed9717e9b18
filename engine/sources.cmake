mfvc_core(
  engine/ArgumentRewrite.cpp
  engine/EncoderVersion.cpp
  engine/OutputParser.cpp
  engine/CommandLine.cpp)
mfvc_win(
  engine/Global.cpp
  engine/ConvertThread.cpp)
