#pragma once
// Shared by the shell tests: scripts for the test encoder and files that
// tell a script when to go on.
#include <string>

#include "runtime/Win.h"

namespace shelltest {

std::string TestEncoder();

// A script for the test encoder that, when `gate` is not empty, waits for
// that file first, then reports half the file done and writes its output.
std::string ConvertingScript(const std::string& gate = "");

// Lets a script waiting on `gate` go on.
void Open(const std::string& gate);

// The UTF-16 form of a UTF-8 text, for the wide calls.
std::wstring Wide(const std::string& utf8);

}  // namespace shelltest
