// The skinned buttons driven with real input: the mouse through SendInput,
// keys as messages through the application's keyboard handling.
#include <gtest/gtest.h>

#include "tests/win/skin/SkinTest.h"

using skintest::MouseLeftButton;
using skintest::MouseMoveTo;
using skintest::ScreenCentre;
using wintest::PumpFor;
using wintest::PumpUntil;

namespace {

// A form with an edit and OK and Cancel buttons; OK is Default, Cancel is
// Cancel; every click is counted.
class ButtonInput : public skintest::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        edit_ = new rt::Edit(form_.get());
        edit_->SetParent(form_.get());
        edit_->SetBounds(10, 10, 120, 21);
        ok_ = AddButton(10, 50, 80, 27, "&OK");
        cancel_ = AddButton(100, 50, 80, 27, "Cancel");
        browse_ = AddButton(190, 50, 80, 27, "&Browse");
        ok_->SetDefault(true);
        cancel_->SetCancel(true);
        ok_->OnClick = [this](rt::Component*) { ++okClicks_; };
        cancel_->OnClick = [this](rt::Component*) { ++cancelClicks_; };
        browse_->OnClick = [this](rt::Component*) { ++browseClicks_; };
        edit_->SetFocus();
        PumpFor(30);
    }
    // A key press as the keyboard delivers it to the focused window.
    static void Key(WORD vk, bool down) {
        PostMessageA(GetFocus(), down ? WM_KEYDOWN : WM_KEYUP, vk, down ? 1 : 0xC0000001);
        PumpFor(30);
    }
    static void Tap(WORD vk) {
        Key(vk, true);
        Key(vk, false);
    }
    static void Char(UINT msg, char ch) {
        PostMessageA(GetFocus(), msg, static_cast<WPARAM>(ch), msg == WM_SYSCHAR ? 0x20000001 : 1);
        PumpFor(30);
    }
    void Focus(rt::WinControl* c) {
        c->SetFocus();
        PumpFor(20);
        ASSERT_TRUE(c->Focused());
    }
    rt::Edit* edit_ = nullptr;
    TsuiButton* ok_ = nullptr;
    TsuiButton* cancel_ = nullptr;
    TsuiButton* browse_ = nullptr;
    int okClicks_ = 0, cancelClicks_ = 0, browseClicks_ = 0;
};

TEST_F(ButtonInput, PressedAndReleasedOutsideDoesNotClickAndLeavingStopsTheTimer) {
    MouseMoveTo(ScreenCentre(*ok_));
    ASSERT_TRUE(PumpUntil([&] { return ok_->Hovering(); }, 2000));
    MouseLeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return ok_->Pressed(); }, 2000));
    EXPECT_TRUE(ok_->RepeatTimerRunning());
    EXPECT_TRUE(ok_->Focused()) << "a press takes the focus";
    MouseMoveTo({ScreenCentre(*ok_).x, ScreenCentre(*ok_).y + 200});
    EXPECT_TRUE(PumpUntil([&] { return !ok_->Pressed(); }, 2000)) << "dragged off, the button lets go";
    MouseLeftButton(false);
    EXPECT_TRUE(PumpUntil([&] { return !ok_->RepeatTimerRunning(); }, 2000)) << "leaving stops the timer";
    PumpFor(100);
    EXPECT_EQ(okClicks_, 0);
    EXPECT_FALSE(ok_->Hovering());

    MouseMoveTo(ScreenCentre(*ok_));
    PumpUntil([&] { return ok_->Hovering(); }, 2000);
    MouseLeftButton(true);
    PumpUntil([&] { return ok_->Pressed(); }, 2000);
    MouseLeftButton(false);
    EXPECT_TRUE(PumpUntil([&] { return okClicks_ == 1; }, 2000));
    EXPECT_FALSE(ok_->Pressed());
}

TEST_F(ButtonInput, RepeatTimerFiresAboutTenTimesASecondWhileHeld) {
    int ticks = 0;
    browse_->OnMouseContinuouslyDown = [&](rt::Component* sender) {
        EXPECT_EQ(sender, browse_);
        ++ticks;
    };
    MouseMoveTo(ScreenCentre(*browse_));
    ASSERT_TRUE(PumpUntil([&] { return browse_->Hovering(); }, 2000));
    MouseLeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return browse_->Pressed(); }, 2000));
    const int before = ticks;
    PumpFor(1000);
    const int held = ticks - before;
    EXPECT_GE(held, 7);
    EXPECT_LE(held, 12);
    MouseLeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return browseClicks_ == 1; }, 2000));
    EXPECT_FALSE(browse_->RepeatTimerRunning());
    const int atRelease = ticks;
    PumpFor(400);
    EXPECT_EQ(ticks, atRelease) << "no ticks after the release";
}

TEST_F(ButtonInput, EnterClicksTheDefaultUnlessAButtonHasFocusEscapeClicksCancel) {
    Tap(VK_RETURN);
    EXPECT_EQ(okClicks_, 1);
    Tap(VK_ESCAPE);
    EXPECT_EQ(cancelClicks_, 1);
    EXPECT_EQ(okClicks_, 1);

    Focus(cancel_);
    EXPECT_FALSE(ok_->ActiveDefault());
    Tap(VK_RETURN);
    EXPECT_EQ(cancelClicks_, 2) << "Enter goes to the focused skinned button";
    EXPECT_EQ(okClicks_, 1);

    Focus(edit_);
    EXPECT_TRUE(ok_->ActiveDefault());
    Tap(VK_RETURN);
    EXPECT_EQ(okClicks_, 2);
    EXPECT_FALSE(ok_->DialogKey(VK_RETURN, rt::ssCtrl)) << "not with a modifier held";

    ok_->SetDefault(false);
    EXPECT_FALSE(ok_->ActiveDefault()) << "Default re-evaluates at once";
    Tap(VK_RETURN);
    EXPECT_EQ(okClicks_, 2);
}

TEST_F(ButtonInput, SpaceClicksOnKeyRelease) {
    Focus(browse_);
    Key(VK_SPACE, true);
    EXPECT_TRUE(browse_->Pressed());
    EXPECT_EQ(browseClicks_, 0);
    Key(VK_SPACE, false);
    EXPECT_EQ(browseClicks_, 1);
    EXPECT_FALSE(browse_->Pressed());
}

TEST_F(ButtonInput, AcceleratorNeedsAltOrAFocusedSkinnedButton) {
    EXPECT_EQ(SendMessageA(ok_->Handle(), SUIM_ISSKINNEDBUTTON, 0, 0), 1);
    EXPECT_EQ(SendMessageA(edit_->Handle(), SUIM_ISSKINNEDBUTTON, 0, 0), 0);

    Char(WM_CHAR, 'b');
    EXPECT_EQ(browseClicks_, 0) << "the edit takes plain letters";
    Char(WM_SYSCHAR, 'b');
    EXPECT_EQ(browseClicks_, 1);

    Focus(cancel_);
    Char(WM_CHAR, 'B');
    EXPECT_EQ(browseClicks_, 2) << "a focused skinned button passes letters on";
    EXPECT_EQ(okClicks_, 0);

    browse_->SetEnabled(false);
    Char(WM_SYSCHAR, 'b');
    EXPECT_EQ(browseClicks_, 2);
}

TEST_F(ButtonInput, CancelModeLetsGoAndTheWindowTakesNoDoubleClicks) {
    const LPARAM centre = MAKELPARAM(40, 13);
    PostMessageA(ok_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ASSERT_TRUE(PumpUntil([&] { return ok_->Pressed(); }, 1000));
    EXPECT_TRUE(ok_->RepeatTimerRunning());
    SendMessageA(ok_->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(ok_->Pressed());
    EXPECT_FALSE(ok_->RepeatTimerRunning());
    PostMessageA(ok_->Handle(), WM_LBUTTONUP, 0, centre);
    PumpFor(50);
    EXPECT_EQ(okClicks_, 0);

    EXPECT_EQ(GetClassLongPtrA(ok_->Handle(), GCL_STYLE) & CS_DBLCLKS, 0u);
    SetWindowTextA(ok_->Handle(), "Yes");
    EXPECT_EQ(ok_->Caption(), "Yes");
}

TEST(ModalResult, ClickAndEscapeCloseAModalForm) {
    rt::Form dialog(nullptr);
    dialog.SetClientSize(200, 60);
    auto* ok = new TsuiButton(&dialog);
    ok->SetParent(&dialog);
    ok->SetBounds(10, 10, 80, 27);
    ok->SetModalResult(rt::mrOk);
    auto* cancel = new TsuiButton(&dialog);
    cancel->SetParent(&dialog);
    cancel->SetBounds(100, 10, 80, 27);
    cancel->SetCancel(true);
    cancel->SetModalResult(rt::mrCancel);
    auto* none = new TsuiButton(&dialog);
    none->SetParent(&dialog);
    none->SetBounds(10, 40, 80, 27);
    dialog.EndLoading();

    auto click = [](TsuiButton* b) {
        PostMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    bool stillOpen = false;
    wintest::RunSoon([&] {
        click(none);
        wintest::RunSoon([&] {
            stillOpen = dialog.ModalResult() == rt::mrNone;
            click(ok);
        });
    });
    EXPECT_EQ(dialog.ShowModal(), rt::mrOk);
    EXPECT_TRUE(stillOpen) << "a button without a modal result leaves the form open";

    wintest::RunSoon([&] { PostMessageA(ok->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); });
    EXPECT_EQ(dialog.ShowModal(), rt::mrCancel);
}

}  // namespace
