#pragma once
// The system's own tools (its shell, ffmpeg and ffprobe) seen from a test
// program under Wine, and answering the program's file dialog.
//
// The system's tools are Linux programs. Wine starts them when asked, but
// hands back no handle to wait on, so each shell step reports its end by
// writing a marker file that the test waits for.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/win/common/WinTest.h"

namespace wintest {

// The Linux path of a Windows path, or "" outside Wine.
std::string UnixPath(const std::string& windowsPath);

// Runs a shell script with the system's /bin/sh in `folder` (where its
// marker file goes); true once it has ended.
bool RunShell(const std::string& folder, const std::string& script, int timeoutMs = 30000);

// Makes a clip with the system's ffmpeg: `seconds` long, video of `size`
// in mpeg4 and a sine tone in PCM, as an AVI file.
bool MakeClip(const std::string& path, int seconds, const std::string& size);

// What the system's probe says of a file: "format_name", "duration", and
// per kind of stream ("video", "audio") its codec and, for video, its size.
struct Probe {
    std::string format;
    double duration = 0;
    std::map<std::string, std::string> codecs;
    std::string videoSize;
};
Probe ProbeFile(const std::string& folder, const std::string& file);

// Answers the program's file dialog titled `title` with `names` (typed into
// its file-name box) and every other dialog with OK, keeping their texts.
class FileDialogAnswers {
public:
    FileDialogAnswers(std::string title, std::string names);
    std::vector<std::string> Boxes();

private:
    std::mutex mutex_;
    std::vector<std::string> boxes_;
    DialogWatcher watcher_;
};

}  // namespace wintest
