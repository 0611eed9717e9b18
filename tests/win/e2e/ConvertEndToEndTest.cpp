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
    std::vector<std::string> Convert(const std::string& profile, const std::string& names = "sample.avi") {
        frmMain->fpType->SetCaption(profile);
        wintest::FileDialogAnswers answers(kDialogTitle, names);
        frmMain->bConvertClick(nullptr);
        EXPECT_EQ(frmMain->FConvertError, "") << "the command met an error of its own";
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
              (std::vector<std::string>{"sample.avi, file conversion failed.\r\n\r\n"
                                        "sample.avi: Error setting option b to value 128kq."}));
    EXPECT_FALSE(rt::FileExists(output + "sample.mpg"));
}

TEST_F(EndToEnd, ARefusedBitRateIsTheReasonNotWhatTheEncoderSaysAfterIt) {
    // An AVI with sound: after the refusal the encoder still reports on its
    // other streams and its closing; none of that is why the file failed.
    EXPECT_EQ(Convert("ffmpeg -i %1 -vcodec msmpeg4 -acodec libmp3lame -ab 128k -b abc %1.avi"),
              (std::vector<std::string>{"sample.avi, file conversion failed.\r\n\r\n"
                                        "sample.avi: Error setting option b to value abc."}));
    EXPECT_FALSE(rt::FileExists(output + "sample.avi"));
}

TEST_F(EndToEnd, AnUnknownCodecInAManualConversionIsListedWithTheEncodersWords) {
    EXPECT_EQ(Convert("ffmpeg -i %1 -vcodec nosuchcodec %1.avi"),
              (std::vector<std::string>{"sample.avi, file conversion failed.\r\n\r\n"
                                        "sample.avi: Unknown encoder 'nosuchcodec'"}));
    EXPECT_FALSE(rt::FileExists(output + "sample.avi"));
}

TEST_F(EndToEnd, ATextFileAndATruncatedClipAreListedWithTheEncodersWords) {
    wintest::WriteTextFile(input + "notes.avi", "This is not a video.\r\nJust some text.\r\n");
    // The first 4 KiB of the clip: the header promises more than there is.
    const std::string clip = rt::ReadFileBytes(input + "sample.avi");
    ASSERT_GT(clip.size(), 4096u);
    wintest::WriteTextFile(input + "cut.avi", clip.substr(0, 4096));
    EXPECT_EQ(Convert("WAV - Waveform Audio", "\"notes.avi\" \"cut.avi\" \"sample.avi\""),
              (std::vector<std::string>{"notes.avi, cut.avi, file conversion failed.\r\n\r\n"
                                        "notes.avi: Error opening input: Invalid data found when processing input\r\n"
                                        "cut.avi: Error opening input: Invalid data found when processing input"}));
    EXPECT_TRUE(rt::FileExists(output + "sample.wav"));
    EXPECT_FALSE(rt::FileExists(output + "notes.wav"));
    EXPECT_FALSE(rt::FileExists(output + "cut.wav"));
}

}  // namespace
