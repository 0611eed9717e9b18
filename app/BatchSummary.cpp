#include "app/BatchSummary.h"

namespace summary {

std::string BatchSummary(const std::vector<engine::FailedFile>& files, const std::string& conversionFailed) {
    const std::string full = engine::FailureSummary(files, conversionFailed);
    if (files.size() <= kNamedFailures) return full;
    std::string first;
    for (size_t i = 0; i < kNamedFailures; ++i) first += files[i].Name + ", ";
    first += "and " + std::to_string(files.size() - kNamedFailures) + " more, " + conversionFailed;
    // A file name holds no line break: the first one ends the names.
    const size_t reasons = full.find("\r\n");
    return reasons == std::string::npos ? first : first + full.substr(reasons);
}

}  // namespace summary
