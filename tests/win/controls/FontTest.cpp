// The faces the program is drawn in: the forms' "MS Sans Serif" 8 pt and
// the system's fonts for menus, message boxes and tips. Text drawn in them
// stays inside the width they measure for it, so nothing is cut.
#include <gtest/gtest.h>

#include "runtime/Graphics.h"

namespace {

// Texts of the program that have been seen cut by a pixel or two.
const char* const kTexts[] = {"The software will use the following (Read Only):",
                              "Browser...",
                              "Same as the input file",
                              "Select folder for output files",
                              "Z:\\missing folder, the output directory does not exist.",
                              "Please choose the output format!"};

std::string FaceOf(rt::Canvas& canvas) {
    char face[LF_FACESIZE] = "";
    GetTextFaceA(canvas.Handle(), sizeof face, face);
    return face;
}

// The last column with ink when `text` is drawn from x = 0, unclipped.
int LastInkColumn(rt::Bitmap& b, const std::string& text) {
    rt::Canvas& c = b.GetCanvas();
    c.FillRect(RECT{0, 0, b.Width(), b.Height()}, rt::clWhite);
    c.SetBrushClear();
    RECT r{0, 0, b.Width(), b.Height()};
    c.DrawText(text, r, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    int last = -1;
    for (int x = 0; x < b.Width(); ++x)
        for (int y = 0; y < b.Height(); ++y)
            if (b.Pixel(x, y) != rt::clWhite) last = x;
    return last;
}

void ExpectInkInsideItsWidth(rt::Bitmap& b, const std::string& fontName) {
    for (const char* text : kTexts) {
        const int width = b.GetCanvas().TextWidth(text);
        const int ink = LastInkColumn(b, text);
        ASSERT_GT(ink, 0) << text;
        EXPECT_LT(ink, width) << fontName << ": \"" << text << "\" is drawn past its measured width";
    }
}

}  // namespace

TEST(DesignedFonts, TheFormsFontIsMSSansSerifAndFitsItsText) {
    rt::Bitmap b(500, 30);
    rt::Font form;  // the forms' font: "MS Sans Serif", 11 pixels
    b.GetCanvas().SetFont(form);
    EXPECT_EQ(FaceOf(b.GetCanvas()), "MS Sans Serif");
    EXPECT_EQ(b.GetCanvas().TextHeight("W"), 13);
    ExpectInkInsideItsWidth(b, "form font");
}

TEST(DesignedFonts, TheSystemFontsFitTheirText) {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    for (const LOGFONTA& lf : {m.lfMessageFont, m.lfStatusFont, m.lfMenuFont}) {
        rt::GdiObject<HFONT> font(CreateFontIndirectA(&lf));
        rt::Bitmap b(500, 30);
        b.GetCanvas().SetFontHandle(font.Get(), rt::clBlack);
        ExpectInkInsideItsWidth(b, lf.lfFaceName);
    }
}
