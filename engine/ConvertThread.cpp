#include "engine/ConvertThread.h"

TConvertProcess* ConvertProcess = nullptr;
