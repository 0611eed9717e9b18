// The Convert command end to end with the encoder the program ships: a
// clip made by the system's own encoder, chosen in the real file dialog,
// converted with catalogue profiles, and the outputs examined by the
// system's own probe.
//
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <sstream>

#include "app/Main.h"
#include "engine/ConvertThread.h"
#include "tests/win/common/SystemTools.h"

namespace {

using wintest::Probe;
using wintest::ProbeFile;

constexpr char kDialogTitle[] = "Select one or more video files";

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        input = wintest::MakeCleanFolder("e2e_in");
        clipMade = wintest::MakeClip(input + "sample.avi", 2, "160x120");
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
        wintest::FileDialogAnswers answers(kDialogTitle, "sample.avi");
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

TEST_F(EndToEnd, AProfileInTheOldSpellingConverts) {
    // "-ab 192kb -b 1000kb": refused by the encoder as written.
    EXPECT_TRUE(Convert("AVI (*.avi)").empty());
    const Probe probe = ProbeFile(output, output + "sample.avi");
    EXPECT_EQ(probe.format, "avi");
    EXPECT_EQ(probe.codecs, (std::map<std::string, std::string>{{"audio", "mp3"}, {"video", "msmpeg4v3"}}));
    EXPECT_EQ(probe.videoSize, "160x120");
    EXPECT_NEAR(probe.duration, 2.0, 0.1);
}

TEST_F(EndToEnd, OptionsTheEncoderRefusesFailAndLeaveNoEmptyFile) {
    // The encoder creates the output before it opens the audio encoder,
    // which refuses the bit rate.
    EXPECT_EQ(Convert("ffmpeg -i %1 -acodec mp2 -ab 128kq %1.mpg"),
              (std::vector<std::string>{"sample.avi, file conversion failed."}));
    EXPECT_FALSE(rt::FileExists(output + "sample.mpg"));
}

}  // namespace
