mfvc_core(profiles/Catalogue.cpp)
mfvc_win(profiles/ManualConvert.cpp)
