#pragma once
// The encoder child process, the worker thread that watches it, and the
// progress notification.
#include <string>

#include "runtime/Win.h"

constexpr UINT WM_CONVERTPROGRESS = 0x1702;

class TConvertProcess {
public:
    TConvertProcess() = default;
    ~TConvertProcess() = default;
};

extern TConvertProcess* ConvertProcess;
