// The link label: colours under the pointer and what a click opens.
#include <gtest/gtest.h>

#include "controls/SUIURLLabel.h"
#include "tests/win/controls/ControlTest.h"

using controltest::HostForm;
using controltest::Render;
using controltest::SendMouse;

namespace {

class URLLabelTest : public ::testing::Test {
protected:
    HostForm host{0x808000};
    TsuiURLLabel* label = nullptr;
    std::vector<std::string> opened;
    int clicks = 0;
    std::function<void(const std::string&)> savedOpen;

    void SetUp() override {
        savedOpen = TsuiURLLabel::ShellOpen;
        TsuiURLLabel::ShellOpen = [this](const std::string& url) { opened.push_back(url); };
        label = new TsuiURLLabel(&host);
        label->SetParent(&host);
        label->SetBounds(10, 10, label->Width(), label->Height());
        label->SetCaption("Check for updates...");
        label->OnClick = [this](rt::Component*) { ++clicks; };
    }
    void TearDown() override { TsuiURLLabel::ShellOpen = savedOpen; }

    rt::TColor FontColor() const { return label->GetFont().Color; }
    void Enter() { SendMouse(host, WM_MOUSEMOVE, 0, 15, 15); }
    void Leave() { SendMouse(host, WM_MOUSEMOVE, 0, 250, 150); }
    void ClickIt() {
        SendMouse(host, WM_LBUTTONDOWN, MK_LBUTTON, 15, 15);
        SendMouse(host, WM_LBUTTONUP, 0, 15, 15);
    }
    // Label pixels in colour c, as the parent paints them.
    int PaintedIn(rt::TColor c) {
        rt::Bitmap b;
        Render(host, b);
        int n = 0;
        for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
            for (int x = label->Left(); x < label->Left() + label->Width(); ++x) n += b.Pixel(x, y) == c;
        return n;
    }
};

TEST_F(URLLabelTest, NewLabelLooksLikeALinkAndSizesToItsText) {
    const rt::Font f = label->GetFont();
    EXPECT_TRUE(f.Style & rt::fsUnderline);
    EXPECT_EQ(f.Color, rt::clBlue);
    EXPECT_EQ(label->FontLinkColor(), rt::clBlue);
    EXPECT_EQ(label->FontHoverColor, rt::clRed);
    EXPECT_EQ(label->Cursor(), rt::CursorKind::Hand);
    EXPECT_FALSE(label->URL().empty());
    const int shortWidth = label->Width();
    label->SetCaption("Check for updates, and for much more than that...");
    EXPECT_GT(label->Width(), shortWidth);
}

TEST_F(URLLabelTest, PointerSwitchesBetweenHoverAndLinkColours) {
    label->FontHoverColor = 0x0000FF;
    label->SetFontLinkColor(rt::clWhite);
    // A colour set directly stays until the pointer first comes and goes.
    rt::Font f = label->GetFont();
    f.Color = 0x00FFFF;
    label->SetFont(f);
    EXPECT_EQ(FontColor(), 0x00FFFFu);
    Enter();
    EXPECT_EQ(FontColor(), 0x0000FFu);
    EXPECT_GT(PaintedIn(0x0000FF), 0);
    // The link colour takes over at once, under the pointer too.
    label->SetFontLinkColor(0x00FF00);
    EXPECT_EQ(FontColor(), 0x00FF00u);
    Leave();
    EXPECT_EQ(FontColor(), 0x00FF00u);
    Enter();
    Leave();
    EXPECT_EQ(FontColor(), 0x00FF00u);
    EXPECT_GT(PaintedIn(0x00FF00), 0);
    EXPECT_EQ(PaintedIn(0x0000FF), 0);
}

TEST_F(URLLabelTest, ClickOpensTheStoredURLUnlessItIsBlank) {
    label->SetURL(" http://www.marbex-soft.example/update.html ");
    ClickIt();
    EXPECT_EQ(opened, std::vector<std::string>{" http://www.marbex-soft.example/update.html "});
    EXPECT_EQ(clicks, 1);

    for (const char* blank : {"", "   ", "\t \r\n"}) {
        opened.clear();
        label->SetURL(blank);
        ClickIt();
        EXPECT_TRUE(opened.empty()) << '"' << blank << '"';
    }
    EXPECT_EQ(clicks, 4);
}

}  // namespace
