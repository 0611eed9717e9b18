// Every catalogue profile converts a short clip with the encoder the program
// ships, through the progress window and the engine exactly as the Convert
// command runs them; the system's probe then checks each output against
// what the profile's caption and options promise: the container, the video
// and audio codecs, the frame size and the duration.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

#include "app/Main.h"
#include "engine/CommandLine.h"
#include "engine/ConvertHint.h"
#include "engine/ConvertThread.h"
#include "engine/EncoderVersion.h"
#include "profiles/Catalogue.h"
#include "tests/win/common/SystemTools.h"

namespace {

constexpr int kClipSeconds = 2;
constexpr char kClipSize[] = "320x240";
// The name the probe gives every file of the ISO media family (.mp4, .m4a,
// .mov, .3gp).
constexpr char kIsoMedia[] = "mov,mp4,m4a,3gp,3g2,mj2";

struct Promise {
    int row;
    const char* format;  // as the probe names the container
    const char* video;   // codec name, "" for none
    const char* audio;
    const char* size;    // "" for an audio file
};

// Without -s the frame keeps the clip's 320x240; -target sets the size of
// its standard; libxvid writes "mpeg4", msmpeg4 "msmpeg4v3". Where the
// options name no codec, the container's default with this encoder: H.264
// for MOV, Sorenson H.263 ("flv1") and MP3 for FLV and SWF.
const Promise kPromises[] = {
    {1, "ac3", "", "ac3", ""},
    {2, kIsoMedia, "", "aac", ""},
    {3, "mp3", "", "mp3", ""},
    {4, "ogg", "", "vorbis", ""},
    {5, "wav", "", "pcm_s16le", ""},
    {6, "asf", "", "wmav2", ""},
    {7, "avi", "msmpeg4v3", "mp3", "320x240"},
    {8, "flv", "flv1", "mp3", "320x240"},
    {9, kIsoMedia, "h264", "aac", "320x240"},
    {10, kIsoMedia, "h264", "aac", "320x240"},
    {11, "mpeg", "mpeg1video", "mp2", "320x240"},
    {12, "mpeg", "mpeg2video", "mp2", "320x240"},
    {13, kIsoMedia, "mpeg4", "aac", "320x240"},
    {14, "asf", "wmv2", "wmav2", "320x240"},
    {15, kIsoMedia, "h263", "aac", "352x288"},
    {16, kIsoMedia, "h263", "aac", "176x144"},
    {17, kIsoMedia, "h263", "aac", "176x144"},
    {18, kIsoMedia, "h263", "aac", "128x96"},
    {19, kIsoMedia, "mpeg4", "aac", "640x480"},
    {20, kIsoMedia, "h264", "aac", "640x480"},
    {21, kIsoMedia, "h264", "aac", "720x576"},
    {22, kIsoMedia, "h264", "aac", "1280x720"},
    {23, kIsoMedia, "h264", "aac", "640x480"},
    {24, kIsoMedia, "h264", "aac", "480x320"},
    {25, kIsoMedia, "h264", "aac", "320x240"},
    {26, kIsoMedia, "h264", "aac", "640x480"},
    {27, kIsoMedia, "h264", "aac", "480x320"},
    {28, kIsoMedia, "h264", "aac", "480x320"},
    {29, kIsoMedia, "h264", "aac", "320x240"},
    {30, kIsoMedia, "h264", "aac", "320x240"},
    {31, kIsoMedia, "h264", "aac", "320x240"},
    {32, kIsoMedia, "h264", "aac", "320x240"},
    {33, kIsoMedia, "h264", "aac", "320x240"},
    {34, kIsoMedia, "h264", "aac", "320x240"},
    {35, kIsoMedia, "h264", "aac", "320x240"},
    {36, kIsoMedia, "mpeg4", "aac", "320x240"},
    {37, kIsoMedia, "mpeg4", "aac", "320x240"},
    {38, kIsoMedia, "mpeg4", "aac", "176x144"},
    {39, kIsoMedia, "h264", "aac", "1280x720"},
    {40, kIsoMedia, "h264", "aac", "720x540"},
    {41, kIsoMedia, "mpeg4", "aac", "480x360"},
    {42, "avi", "mpeg4", "mp3", "640x480"},
    {43, "avi", "mpeg4", "mp3", "704x384"},
    {44, "avi", "mpeg4", "mp3", "640x272"},
    {45, "avi", "msmpeg4v3", "mp3", "640x480"},
    {46, kIsoMedia, "h264", "aac", "640x480"},
    {47, kIsoMedia, "h264", "aac", "480x320"},
    {48, kIsoMedia, "h264", "aac", "320x240"},
    {49, "avi", "mpeg4", "mp3", "320x240"},
    {50, "avi", "mpeg4", "mp3", "320x240"},
    {51, "dv", "dvvideo", "pcm_s16le", "720x480"},
    {52, "dv", "dvvideo", "pcm_s16le", "720x576"},
    {53, "mpeg", "mpeg2video", "mp2", "352x480"},
    {54, "mpeg", "mpeg2video", "mp2", "352x480"},
    {55, "mpeg", "mpeg2video", "ac3", "720x480"},
    {56, "mpeg", "mpeg2video", "ac3", "720x480"},
    {57, "mpeg", "mpeg2video", "ac3", "720x480"},
    {58, "mpeg", "mpeg2video", "mp2", "352x576"},
    {59, "mpeg", "mpeg2video", "mp2", "352x576"},
    {60, "mpeg", "mpeg2video", "ac3", "720x576"},
    {61, "mpeg", "mpeg2video", "ac3", "720x576"},
    {62, "mpeg", "mpeg2video", "ac3", "720x576"},
    {63, "flv", "flv1", "mp3", "320x240"},
    {64, "flv", "flv1", "mp3", "480x360"},
    {65, "flv", "flv1", "aac", "1280x720"},
    {66, kIsoMedia, "mpeg4", "aac", "480x320"},
    {67, kIsoMedia, "mpeg4", "aac", "480x320"},
    {68, kIsoMedia, "mpeg4", "aac", "640x360"},
    {69, kIsoMedia, "mpeg4", "aac", "320x240"},
    {70, kIsoMedia, "mpeg4", "aac", "176x144"},
    {71, kIsoMedia, "mpeg4", "aac", "176x144"},
    {72, kIsoMedia, "mpeg4", "aac", "128x96"},
    {73, kIsoMedia, "mpeg4", "mp3", "400x240"},
    {74, kIsoMedia, "mpeg4", "mp3", "400x240"},
    {75, kIsoMedia, "mpeg4", "mp3", "400x240"},
    {76, kIsoMedia, "mpeg4", "aac", "320x240"},
    {77, kIsoMedia, "mpeg4", "aac", "320x240"},
    {78, kIsoMedia, "mpeg4", "aac", "428x320"},
    {79, kIsoMedia, "mpeg4", "aac", "480x320"},
    {80, kIsoMedia, "h264", "aac", "640x480"},
    {81, kIsoMedia, "h264", "aac", "320x240"},
    {82, kIsoMedia, "h264", "aac", "320x240"},
    {83, kIsoMedia, "h264", "aac", "320x240"},
    {84, "swf", "flv1", "mp3", "320x240"},
    {85, "swf", "flv1", "mp3", "480x360"},
    {86, "swf", "flv1", "mp3", "1280x720"},
    {87, "mpeg", "mpeg1video", "mp3", "640x480"},
    {88, "mpeg", "mpeg1video", "mp3", "640x360"},
    {89, "mpeg", "mpeg1video", "mp3", "320x240"},
    {90, "mpeg", "mpeg1video", "mp3", "320x180"},
    {91, kIsoMedia, "h264", "aac", "1280x720"},
    {92, kIsoMedia, "h264", "aac", "1280x720"},
    {93, kIsoMedia, "h264", "aac", "480x272"},
    {94, kIsoMedia, "h264", "aac", "368x208"},
    {95, kIsoMedia, "h264", "aac", "368x208"},
    {96, kIsoMedia, "mpeg4", "aac", "320x240"},
    {97, "mpeg", "mpeg1video", "mp2", "352x240"},
    {98, "mpeg", "mpeg1video", "mp2", "352x288"},
    {99, "asf", "wmv2", "wmav2", "320x240"},
    {100, "asf", "wmv2", "wmav2", "320x240"},
    {101, "asf", "wmv2", "wmav2", "720x480"},
    {102, "asf", "wmv2", "wmav2", "320x240"},
    {103, "asf", "wmv2", "wmav2", "320x240"},
};

std::string RowName(int row) {
    char name[16];
    std::snprintf(name, sizeof name, "Row%03d", row);
    return name;
}

// What the probe says of one output.
struct Output {
    std::string format;
    double duration = 0;
    std::map<std::string, std::string> codecs;  // by stream kind: "video", "audio", "data"
    std::map<std::string, std::string> video;   // the probe's fields of the video stream
    std::map<std::string, std::string> audio;   // and of the audio stream
    std::string bitRate;
};

Output ProbeOutput(const std::string& folder, const std::string& file) {
    const std::string report = folder + "probe.txt";
    DeleteFileA(report.c_str());
    wintest::RunShell(folder, "/usr/bin/ffprobe -v error -count_packets -show_entries "
                              "format=format_name,duration,bit_rate:stream=codec_type,codec_name,codec_tag_string,"
                              "width,height,display_aspect_ratio,r_frame_rate,nb_read_packets,sample_rate,channels "
                              "-of flat '" + wintest::UnixPath(file) + "' > '" + wintest::UnixPath(report) + "'");
    // Lines such as: streams.stream.0.codec_name="h264", format.duration="2.000000"
    std::map<std::string, std::map<std::string, std::string>> streams;
    Output output;
    std::istringstream lines(wintest::ReadTextFile(report));
    for (std::string line; std::getline(lines, line);) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
        const size_t lastDot = key.rfind('.');
        const std::string field = key.substr(lastDot + 1);
        if (key.starts_with("format.")) {
            if (field == "format_name") output.format = value;
            if (field == "duration") output.duration = std::atof(value.c_str());
            if (field == "bit_rate") output.bitRate = value;
        } else if (key.starts_with("streams.stream.")) {
            streams[key.substr(0, lastDot)][field] = value;
        }
    }
    for (auto& [name, fields] : streams) {
        const std::string kind = fields["codec_type"];
        output.codecs[kind] = fields["codec_name"];
        if (kind == "video") output.video = fields;
        if (kind == "audio") output.audio = fields;
    }
    // A Flash file states no duration; its frames at their rate tell it.
    if (output.duration == 0 && output.video.count("nb_read_packets")) {
        const std::string& rate = output.video["r_frame_rate"];
        const double num = std::atof(rate.c_str());
        const double den = rate.find('/') == std::string::npos ? 1 : std::atof(rate.c_str() + rate.find('/') + 1);
        if (num > 0 && den > 0) output.duration = std::atof(output.video["nb_read_packets"].c_str()) * den / num;
    }
    return output;
}

// Stops the progress window should its conversion never end; one at a time.
class Deadline {
public:
    Deadline(TfrmConvert& window, UINT ms) : timer_(SetTimer(nullptr, 0, ms, Fire)) {
        window_ = &window;
        fired_ = false;
    }
    ~Deadline() {
        KillTimer(nullptr, timer_);
        window_ = nullptr;
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
    bool Fired() const { return fired_; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (!window_) return;
        fired_ = true;
        window_->bStop->Click();
    }
    static inline TfrmConvert* window_ = nullptr;
    static inline bool fired_ = false;
    UINT_PTR timer_;
};

class ProfileConversion : public testing::TestWithParam<Promise> {
protected:
    static void SetUpTestSuite() {
        input = wintest::MakeCleanFolder("profiles_in");
        clipMade = wintest::MakeClip(input + "clip.avi", kClipSeconds, kClipSize);
        outputs = wintest::MakeCleanFolder("profiles_out");
        if (!frmMain) new TfrmMain(nullptr);
    }

    static std::string input;
    static std::string outputs;
    static bool clipMade;
};

std::string ProfileConversion::input;
std::string ProfileConversion::outputs;
bool ProfileConversion::clipMade = false;

TEST_P(ProfileConversion, ConvertsAsPromised) {
    const Promise& promise = GetParam();
    const profiles::CatalogueEntry& entry = profiles::Catalogue()[promise.row - 1];
    SCOPED_TRACE(entry.caption);
    ASSERT_TRUE(rt::FileExists(wintest::TestProgramFolder() + "ffmpeg.exe"))
        << "the encoder belongs beside the test program (tools/build.sh puts it there)";
    ASSERT_TRUE(clipMade) << "the system's ffmpeg made no clip";

    // A folder per profile: rows share extensions, and the same name would
    // bring up the overwrite question.
    const std::string folder = outputs + RowName(promise.row) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    frmMain->cbSameInput->SetChecked(false);
    frmMain->eOutputFolder->SetText(folder);
    wintest::ShownErrors().clear();

    auto window = std::make_unique<TfrmConvert>(frmMain, std::vector<std::string>{input + "clip.avi"}, *ConvertProcess,
                                                false, folder, "Marbex Free Video Converter");
    window->OutputExt = profiles::GetProfileExtension(entry.caption);
    window->Arguments = profiles::GetProfileArguments(entry.caption);
    const DWORD started = GetTickCount();
    Deadline deadline(*window, 120000);
    window->ShowModal();
    const DWORD took = GetTickCount() - started;
    ASSERT_FALSE(deadline.Fired()) << "the conversion never ended";
    EXPECT_EQ(window->FailedFiles, "");
    for (const engine::FailedFile& f : window->Failures) ADD_FAILURE() << f.Name << ": " << f.Reason;
    EXPECT_TRUE(wintest::ShownErrors().empty());

    const std::string file = folder + "clip" + entry.extension;
    ASSERT_TRUE(rt::FileExists(file));
    const Output output = ProbeOutput(folder, file);
    EXPECT_EQ(output.format, promise.format);
    // Besides these, a DVD file carries its navigation packets as data.
    EXPECT_EQ(output.codecs.count("video") ? output.codecs.at("video") : "", promise.video);
    EXPECT_EQ(output.codecs.count("audio") ? output.codecs.at("audio") : "", promise.audio);
    const auto field = [](const std::map<std::string, std::string>& m, const char* key) {
        return m.count(key) ? m.at(key) : std::string();
    };
    if (*promise.video) EXPECT_EQ(field(output.video, "width") + "x" + field(output.video, "height"), promise.size);
    // The last video frame's length and the audio encoder's delay count in:
    // at 10 frames a second with AAC at 8 kHz that is 0.2 s.
    EXPECT_NEAR(output.duration, kClipSeconds, 0.25);

    // What the probe found beyond the checks, for comparison with the caption.
    std::printf("  %s %4u ms %.3f s | %s %s %s %s fps | %s Hz %s ch | %s b/s | %s\n", RowName(promise.row).c_str(),
                took, output.duration, field(output.video, "codec_tag_string").c_str(),
                field(output.video, "display_aspect_ratio").c_str(), field(output.video, "r_frame_rate").c_str(),
                field(output.video, "nb_read_packets").c_str(), field(output.audio, "sample_rate").c_str(),
                field(output.audio, "channels").c_str(), output.bitRate.c_str(), entry.caption);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ProfileConversion, testing::ValuesIn(kPromises),
                         [](const testing::TestParamInfo<Promise>& info) { return RowName(info.param.row); });

TEST(ProfileTable, CoversEveryCatalogueRowOnce) {
    ASSERT_EQ(std::size(kPromises), profiles::Catalogue().size());
    for (size_t i = 0; i < std::size(kPromises); ++i) EXPECT_EQ(kPromises[i].row, static_cast<int>(i + 1));
}

// The engine asks the encoder for its version before its first file; that
// costs what one start of the encoder costs.
TEST(VersionQuestion, TheShippedEncoderAnswersInTheModernDialect) {
    DWORD started = GetTickCount();
    const std::optional<std::string> answer =
        rt::CaptureOutput("", engine::EncoderVersionCommandLine(""), 10000);
    const DWORD asked = GetTickCount() - started;
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(engine::UsesModernDialect(engine::ParseLibavcodecMajor(*answer))) << *answer;

    // Started with nothing to do, it prints its usage and a hint and ends.
    started = GetTickCount();
    const std::optional<std::string> hint = rt::CaptureOutput("", "ffmpeg -hide_banner", 10000);
    const DWORD bare = GetTickCount() - started;
    ASSERT_TRUE(hint.has_value());
    EXPECT_NE(hint->find("usage: ffmpeg"), std::string::npos) << *hint;
    EXPECT_NE(hint->find("-h"), std::string::npos) << *hint;
    std::printf("  the version question took %u ms, a start with nothing to do %u ms\n", asked, bare);
}

}  // namespace
