#pragma once
// Helpers for the skinned button tests: a shown form to put buttons on,
// rendering a control into a memory bitmap, and real mouse input.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/Forms.h"
#include "skin/SUIButton.h"
#include "tests/win/common/WinTest.h"

namespace skintest {

// A shown form with a plain colour, destroyed after each test.
class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TsuiButton* AddButton(int left, int top, int width, int height, const std::string& caption,
                          skin::TsuiUIStyle style = skin::TsuiUIStyle::WinXP);
    std::unique_ptr<rt::Form> form_;
};

// The control's client area as WM_PRINTCLIENT paints it.
void Render(rt::WinControl& control, rt::Bitmap& out);

// The number of pixels that differ between two bitmaps of one size.
int DifferingPixels(const rt::Bitmap& a, const rt::Bitmap& b);

// Pixels of colour c inside r.
int CountColour(const rt::Bitmap& b, rt::TColor c, const RECT& r);

// Hardware-like mouse input through SendInput, at a point of the screen.
void MouseMoveTo(POINT screen);
void MouseLeftButton(bool down);
// The centre of a control on the screen.
POINT ScreenCentre(rt::WinControl& control);

}  // namespace skintest
