#include "tests/win/common/SystemTools.h"

#include <cstdlib>
#include <sstream>

#include "runtime/Strings.h"

namespace wintest {

std::string UnixPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    std::wstring wide(windowsPath.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, windowsPath.data(),
                                                        static_cast<int>(windowsPath.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    char* unix = toUnix(wide.c_str());
    if (!unix) return std::string();
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool RunShell(const std::string& folder, const std::string& script, int timeoutMs) {
    const std::string marker = folder + "step.done";
    DeleteFileA(marker.c_str());
    WriteTextFile(folder + "step.sh", script + "\necho done > '" + UnixPath(folder) + "step.tmp' && mv '" +
                                          UnixPath(folder) + "step.tmp' '" + UnixPath(marker) + "'\n");
    std::string commandLine = "/bin/sh \"" + UnixPath(folder + "step.sh") + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    while (!rt::FileExists(marker)) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        Sleep(50);
    }
    return true;
}

bool MakeClip(const std::string& path, int seconds, const std::string& size) {
    const std::string folder = text::ExtractFilePath(path);
    const std::string d = std::to_string(seconds);
    return RunShell(folder, "/usr/bin/ffmpeg -v error -y -f lavfi -i testsrc=duration=" + d + ":size=" + size +
                                ":rate=25 -f lavfi -i sine=frequency=440:duration=" + d +
                                ":sample_rate=44100 -shortest -c:v mpeg4 -c:a pcm_s16le '" + UnixPath(path) + "'") &&
           rt::FileExists(path);
}

Probe ProbeFile(const std::string& folder, const std::string& file) {
    const std::string report = folder + "probe.txt";
    DeleteFileA(report.c_str());
    RunShell(folder, "/usr/bin/ffprobe -v error -show_entries format=format_name,duration:"
                     "stream=codec_type,codec_name,width,height -of default=noprint_wrappers=1 '" +
                         UnixPath(file) + "' > '" + UnixPath(report) + "' 2>&1");
    Probe probe;
    std::istringstream lines(ReadTextFile(report));
    std::string line, codec, width;
    while (std::getline(lines, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name") codec = value;
        else if (key == "codec_type") probe.codecs[value] = codec;
        else if (key == "width") width = value;
        else if (key == "height") probe.videoSize = width + "x" + value;
        else if (key == "format_name") probe.format = value;
        else if (key == "duration") probe.duration = std::atof(value.c_str());
    }
    return probe;
}

FileDialogAnswers::FileDialogAnswers(std::string title, std::string names)
    : watcher_([this, title = std::move(title), names = std::move(names)](HWND dialog, const std::string& text) {
          if (WindowText(dialog) != title) {
              std::lock_guard<std::mutex> lock(mutex_);
              boxes_.push_back(text);
              return IDOK;
          }
          HWND box = GetDlgItem(dialog, 0x47c);
          if (!box) box = GetDlgItem(dialog, 0x480);
          SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
          return IDOK;
      }) {}

std::vector<std::string> FileDialogAnswers::Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

}  // namespace wintest
