// The About window, opened from the main window's Advanced menu.
#include <gtest/gtest.h>

#include <cstring>

#include "Version.h"
#include "dialogs/About.h"
#include "tests/win/dialogs/DialogTest.h"

using dialogtest::FindForm;
using dialogtest::ModalScript;

namespace {

// "major.minor.patch" from the fixed part of this program's version resource.
std::string ResourceFileVersion() {
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
    if (!res) return "";
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, res)));
    const DWORD size = SizeofResource(nullptr, res);
    for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) <= size; i += 4) {
        VS_FIXEDFILEINFO info;
        std::memcpy(&info, bytes + i, sizeof info);
        if (info.dwSignature == 0xFEEF04BD)
            return std::to_string(HIWORD(info.dwFileVersionMS)) + "." + std::to_string(LOWORD(info.dwFileVersionMS)) +
                   "." + std::to_string(HIWORD(info.dwFileVersionLS));
    }
    return "";
}

bool IsBuildDate(const std::string& s) {
    if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    const int year = std::stoi(s.substr(0, 4)), month = std::stoi(s.substr(4, 2)), day = std::stoi(s.substr(6, 2));
    return year >= 2024 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

using AboutTest = dialogtest::MainWindowTest;

TEST_F(AboutTest, ShowsTitleVersionBuildAddressesAndClosesWithOk) {
    TfrmAbout* about = nullptr;
    std::string caption, title, version, notice, email, link;
    RECT client{};
    bool linkLooksLikeOne = false, picturesLoaded = false;
    POINT centre{};
    ModalScript script("TfrmAbout", {[&] {
                                         about = FindForm<TfrmAbout>("TfrmAbout");
                                         return about != nullptr;
                                     },
                                     [&] {
                                         caption = wintest::WindowText(about->Handle());
                                         GetClientRect(about->Handle(), &client);
                                         title = about->Label1->Caption();
                                         version = about->Label2->Caption();
                                         notice = about->lCopywrite->Caption();
                                         email = about->Label3->Caption();
                                         link = about->lbEAddress->Caption();
                                         const rt::Font f = about->lbEAddress->GetFont();
                                         linkLooksLikeOne = (f.Style & rt::fsUnderline) && f.Color == rt::clBlue &&
                                                            about->lbEAddress->Cursor() == rt::CursorKind::Hand;
                                         picturesLoaded = about->Image2->Picture().Width() == 360 &&
                                                          about->Image2->Picture().Height() == 50 &&
                                                          about->Image1->Picture().Width() == 32;
                                         centre = dialogtest::WindowCentre(about->Handle());
                                         dialogtest::PostClick(about->bOK);
                                         return true;
                                     }});
    frmMain->About1->Click();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(caption, "About Free Video Converter");
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 249);
    EXPECT_EQ(title, "Marbex Free Video Converter");
    EXPECT_EQ(version, std::string("Version: ") + MFVC_VERSION_TEXT + "   Build " + MFVC_BUILD_DATE);
    EXPECT_TRUE(IsBuildDate(MFVC_BUILD_DATE)) << MFVC_BUILD_DATE;
    EXPECT_EQ(ResourceFileVersion(), MFVC_VERSION_TEXT);
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(email, "Email: support@marbex-soft.example");
    EXPECT_EQ(link, "www.marbex-soft.example");
    EXPECT_TRUE(linkLooksLikeOne);
    EXPECT_TRUE(picturesLoaded);
    const POINT owner = dialogtest::WindowCentre(frmMain->Handle());
    EXPECT_NEAR(centre.x, owner.x, 1);
    EXPECT_NEAR(centre.y, owner.y, 1);
    EXPECT_EQ(FindForm<TfrmAbout>("TfrmAbout"), nullptr);
}

TEST_F(AboutTest, CloseBoxClosesIt) {
    ModalScript script("TfrmAbout", {[&] {
                           TfrmAbout* about = FindForm<TfrmAbout>("TfrmAbout");
                           if (!about) return false;
                           dialogtest::PostCloseBox(about);
                           return true;
                       }});
    frmMain->About1->Click();
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(FindForm<TfrmAbout>("TfrmAbout"), nullptr);
}

}  // namespace
