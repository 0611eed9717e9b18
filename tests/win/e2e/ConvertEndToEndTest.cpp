// The Convert command end to end with the encoder the program ships: a
// clip made by the system's own encoder, chosen in the real file dialog,
// converted with catalogue profiles, and the outputs examined by the
// system's own probe.
//
// The system's tools are Linux programs. Wine starts them when asked, but
// hands back no handle to wait on, so each shell step reports its end by
// writing a marker file that the test waits for.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <sstream>

#include "app/Main.h"
#include "engine/ConvertThread.h"
#include "tests/win/common/WinTest.h"

namespace {

constexpr char kDialogTitle[] = "Select one or more video files";

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

// Runs a shell script with the system's /bin/sh; true once it has ended.
bool RunShell(const std::string& folder, const std::string& script, int timeoutMs = 30000) {
    const std::string marker = folder + "step.done";
    DeleteFileA(marker.c_str());
    wintest::WriteTextFile(folder + "step.sh", script + "\necho done > '" + UnixPath(folder) +
                                                   "step.tmp' && mv '" + UnixPath(folder) + "step.tmp' '" +
                                                   UnixPath(marker) + "'\n");
    std::string commandLine = "/bin/sh " + UnixPath(folder + "step.sh");
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

// What the probe says of a file: "format_name", "duration", and per kind
// of stream ("video", "audio") its codec and, for video, its size.
struct Probe {
    std::string format;
    double duration = 0;
    std::map<std::string, std::string> codecs;
    std::string videoSize;
};

Probe ProbeFile(const std::string& folder, const std::string& file) {
    const std::string report = file + ".probe";
    RunShell(folder, "/usr/bin/ffprobe -v error -show_entries format=format_name,duration:"
                     "stream=codec_type,codec_name,width,height -of default=noprint_wrappers=1 '" +
                         UnixPath(file) + "' > '" + UnixPath(report) + "' 2>&1");
    Probe probe;
    std::istringstream lines(wintest::ReadTextFile(report));
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

// Answers the file dialog with `names` and every message box with OK,
// keeping the texts of the boxes.
class Answers {
public:
    explicit Answers(std::string names)
        : watcher_([this, names = std::move(names)](HWND dialog, const std::string& text) {
              if (wintest::WindowText(dialog) != kDialogTitle) {
                  std::lock_guard<std::mutex> lock(mutex_);
                  boxes_.push_back(text);
                  return IDOK;
              }
              HWND box = GetDlgItem(dialog, 0x47c);
              if (!box) box = GetDlgItem(dialog, 0x480);
              SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
              return IDOK;
          }) {}
    std::vector<std::string> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> boxes_;
    wintest::DialogWatcher watcher_;
};

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        input = wintest::MakeCleanFolder("e2e_in");
        clipMade = RunShell(input,
                            "/usr/bin/ffmpeg -v error -y -f lavfi -i testsrc=duration=2:size=160x120:rate=25 "
                            "-f lavfi -i sine=frequency=440:duration=2:sample_rate=44100 -shortest "
                            "-c:v mpeg4 -c:a pcm_s16le '" +
                                UnixPath(input) + "sample.avi'") &&
                   rt::FileExists(input + "sample.avi");
        if (!frmMain) new TfrmMain(nullptr);
    }

    void SetUp() override {
        ASSERT_TRUE(rt::FileExists(wintest::TestProgramFolder() + "ffmpeg.exe"))
            << "the encoder belongs beside the test program (tools/build.sh puts it there)";
        ASSERT_TRUE(clipMade) << "the system's ffmpeg made no clip";
        output = wintest::MakeCleanFolder("e2e_out");
        frmMain->cbSameInput->SetChecked(false);
        frmMain->eOutputFolder->SetText(output);
        frmMain->FAnotherFFmpeg.clear();
        frmMain->FInputDirectory = input;
        wintest::ShownErrors().clear();
    }

    // The whole command for one profile; the texts of the boxes it showed.
    std::vector<std::string> Convert(const std::string& profile) {
        frmMain->fpType->SetCaption(profile);
        Answers answers("sample.avi");
        frmMain->bConvertClick(nullptr);
        EXPECT_TRUE(wintest::ShownErrors().empty());
        EXPECT_FALSE(ConvertProcess->Running);
        return answers.Boxes();
    }

    static std::string input;
    static bool clipMade;
    std::string output;
};

std::string EndToEnd::input;
bool EndToEnd::clipMade = false;

TEST_F(EndToEnd, WaveformAudio) {
    EXPECT_TRUE(Convert("WAV - Waveform Audio").empty());
    const Probe probe = ProbeFile(output, output + "sample.wav");
    EXPECT_EQ(probe.format, "wav");
    EXPECT_EQ(probe.codecs, (std::map<std::string, std::string>{{"audio", "pcm_s16le"}}));
    EXPECT_NEAR(probe.duration, 2.0, 0.1);
}

TEST_F(EndToEnd, Mpeg1) {
    EXPECT_TRUE(Convert("MPEG-1 (*.mpg)").empty());
    const Probe probe = ProbeFile(output, output + "sample.mpg");
    EXPECT_EQ(probe.format, "mpeg");
    EXPECT_EQ(probe.codecs, (std::map<std::string, std::string>{{"audio", "mp2"}, {"video", "mpeg1video"}}));
    EXPECT_EQ(probe.videoSize, "160x120");
    EXPECT_NEAR(probe.duration, 2.0, 0.15);
}

TEST_F(EndToEnd, RawDvForPalFullscreen) {
    EXPECT_TRUE(Convert("Raw DV for PAL Fullscreen").empty());
    const Probe probe = ProbeFile(output, output + "sample.dv");
    EXPECT_EQ(probe.format, "dv");
    EXPECT_EQ(probe.codecs, (std::map<std::string, std::string>{{"audio", "pcm_s16le"}, {"video", "dvvideo"}}));
    EXPECT_EQ(probe.videoSize, "720x576");
    EXPECT_NEAR(probe.duration, 2.0, 0.1);
}

TEST_F(EndToEnd, AProfileTheEncoderRejectsIsSummedUpAsFailed) {
    EXPECT_EQ(Convert("AVI (*.avi)"), (std::vector<std::string>{"sample.avi, file conversion failed."}));
}

}  // namespace
