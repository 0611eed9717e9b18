#pragma once
// The box after a batch with failed files. No Windows API here.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/FailureReason.h"

namespace summary {

// How many failed files the first line names; a box wider than the screen
// shows nothing at all.
inline constexpr size_t kNamedFailures = 20;

// engine::FailureSummary, whose first line names every failed file, except
// that with more than kNamedFailures of them it names the first
// kNamedFailures, each followed by ", ", then "and N more, " (N the files
// not named) and conversionFailed. The reason lines stay as they are.
std::string BatchSummary(const std::vector<engine::FailedFile>& files, const std::string& conversionFailed);

}  // namespace summary
