#include "engine/OutputGuard.h"

#include "runtime/Strings.h"

namespace engine {

namespace {

// File times of a file system that keeps them coarsely (two seconds on FAT)
// may read earlier than the moment the file was made.
constexpr ULONGLONG kTimeSlack = 2 * 10000000ULL;

// A free hidden-looking name beside output: "~name.old", then "~name.old2"...
std::string FreeAsideName(const std::string& output) {
    const std::string base = text::ExtractFilePath(output) + "~" + text::ExtractFileName(output) + ".old";
    for (int n = 1; n < 1000; ++n) {
        const std::string name = n == 1 ? base : base + std::to_string(n);
        if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
    }
    return std::string();
}

ULONGLONG Ticks(const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

}  // namespace

bool OutputGuard::Begin(const std::string& output, bool setAside) {
    output_ = output;
    aside_.clear();
    if (setAside && rt::FileExists(output)) {
        const std::string aside = FreeAsideName(output);
        const DWORD attributes = GetFileAttributesA(output.c_str());
        if (aside.empty()) {
            SetLastError(ERROR_FILE_EXISTS);
            return false;
        }
        if (!MoveFileExA(output.c_str(), aside.c_str(), 0)) return false;
        aside_ = aside;
        asideAttributes_ = attributes;
        SetFileAttributesA(aside_.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
    }
    // Looked at now, after any question and the version, right before the
    // encoder starts: a file that appeared meanwhile is someone else's.
    existed_ = GetFileAttributesA(output.c_str()) != INVALID_FILE_ATTRIBUTES;
    GetSystemTimeAsFileTime(&start_);
    return true;
}

bool OutputGuard::CreatedByRun() const {
    if (existed_) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(output_.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return Ticks(data.ftCreationTime) + kTimeSlack >= Ticks(start_);
}

void OutputGuard::Converted() {
    if (!aside_.empty()) {
        SetFileAttributesA(aside_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(aside_.c_str());
    }
    Done();
}

void OutputGuard::Failed(bool removeNew) {
    const bool restore = !aside_.empty();
    // A file that another program has opened meanwhile stays; nothing to tell.
    if ((removeNew || restore) && CreatedByRun()) DeleteFileA(output_.c_str());
    if (restore) {
        if (MoveFileExA(aside_.c_str(), output_.c_str(), 0))
            SetFileAttributesA(output_.c_str(), asideAttributes_);
        else
            // Something else holds the name now: the old file stays beside
            // it, where the user can see it.
            SetFileAttributesA(aside_.c_str(), asideAttributes_);
    }
    Done();
}

void OutputGuard::Done() {
    output_.clear();
    aside_.clear();
    existed_ = true;
}

}  // namespace engine
