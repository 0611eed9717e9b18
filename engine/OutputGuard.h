#pragma once
// What one encoder run may do to its output file: the program never
// destroys what the user had.
// - An output that exists and was confirmed for overwriting is moved aside,
//   under a hidden name in the same folder, right before the encoder starts.
//   When the run converts, the old file is deleted; when it fails or is
//   stopped, the output the run left is removed and the old file is put
//   back under its name, as it was. Should the program itself end mid-run,
//   the old file stays under its hidden name.
// - Only an output that this run's encoder created is ever removed: it did
//   not exist when the encoder started, and the file now there is not older
//   than that start.
#include <string>

#include "runtime/Win.h"

namespace engine {

class OutputGuard {
public:
    OutputGuard() = default;
    OutputGuard(const OutputGuard&) = delete;
    OutputGuard& operator=(const OutputGuard&) = delete;

    // Right before the encoder starts on output. With setAside, an existing
    // output is moved aside first; false (with the last error set) when it
    // cannot be, and nothing has changed then.
    bool Begin(const std::string& output, bool setAside);
    // The run converted: the old file, if any, goes.
    void Converted();
    // The run failed (or was stopped, when removeNew is false and there is
    // no old file): the output this run created goes, and the old file comes
    // back under its name.
    void Failed(bool removeNew = true);
    // The hidden name of the old file while it is aside, else empty.
    const std::string& Aside() const { return aside_; }

private:
    // The output now there was made by this run.
    bool CreatedByRun() const;
    void Done();

    std::string output_;
    std::string aside_;
    DWORD asideAttributes_ = 0;
    bool existed_ = true;  // the output existed when the encoder started
    FILETIME start_{};
};

}  // namespace engine
