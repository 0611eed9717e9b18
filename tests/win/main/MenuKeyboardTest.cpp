// The main window's two menus worked from the keyboard: keys are pressed on
// a second thread as a person presses them, and the menu's own loop on the
// test's thread takes them.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "app/Main.h"
#include "profiles/Catalogue.h"
#include "tests/win/common/WinTest.h"

namespace {

std::string IniPath() { return rt::ExecutableFolder() + "settings.ini"; }

// The visible menu windows of this process, the most recently opened first.
std::vector<HWND> OpenMenus() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            char cls[32];
            GetClassNameA(h, cls, sizeof cls);
            if (pid == GetCurrentProcessId() && IsWindowVisible(h) && lstrcmpA(cls, "#32768") == 0)
                reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The position of the highlighted item of the menu shown in `window`, or -1.
int HighlightedItem(HWND window) {
    auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    if (!menu) return -1;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// Runs a script of key presses on a second thread while the test's thread
// sits in a menu or dialog loop. If the script leaves a menu open (a fault
// of the code under test), the menu is cancelled so the test ends.
class KeyScript {
public:
    explicit KeyScript(std::function<void(KeyScript&)> script)
        : thread_([this, script = std::move(script)] {
              script(*this);
              if (!WaitFor([] { return OpenMenus().empty(); }, 5000)) {
                  stuck_ = true;
                  for (HWND m : OpenMenus()) PostMessageA(m, WM_CANCELMODE, 0, 0);
              }
          }) {}
    ~KeyScript() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    bool LeftAMenuOpen() const { return stuck_; }

    // Polls until pred() holds; false after timeoutMs.
    static bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 10000) {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (pred()) return true;
            Sleep(10);
        }
        return pred();
    }
    bool WaitForMenus(size_t count) {
        return WaitFor([count] { return OpenMenus().size() >= count; });
    }
    static void Press(WORD vk, int times = 1) {
        for (int i = 0; i < times; ++i) {
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_KEYBOARD;
            in[0].ki.wVk = in[1].ki.wVk = vk;
            in[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, in, sizeof(INPUT));
        }
    }

private:
    std::atomic<bool> stuck_{false};
    std::thread thread_;
};

class MenuKeyboard : public testing::Test {
protected:
    void SetUp() override {
        DeleteFileA(IniPath().c_str());
        form_ = std::make_unique<TfrmMain>(nullptr);
        form_->Show();
        SetWindowPos(form_->Handle(), nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        wintest::PumpFor(30);
        // The pointer stays away from where the menus open.
        SetCursorPos(1, 1);
        f = form_.get();
    }
    void TearDown() override {
        form_->Close();
        form_.reset();
        DeleteFileA(IniPath().c_str());
    }
    // Pops the Advanced menu up and runs the script against it; the item
    // clicks are recorded instead of opening web pages and dialogs.
    int ChooseFromAdvanced(const std::function<void(KeyScript&)> script) {
        int chosen = -1;
        const std::vector<rt::MenuItem*> items = {f->Homepage1, f->UseanotherFFMpeg1, f->Donate1, f->About1};
        for (size_t i = 0; i < items.size(); ++i) items[i]->OnClick = [&chosen, i](rt::Component*) {
            chosen = static_cast<int>(i);
        };
        KeyScript keys(script);
        f->suiPopupMenu1->Popup(700, 200);
        keys.Join();
        EXPECT_FALSE(keys.LeftAMenuOpen());
        return chosen;
    }
    std::unique_ptr<TfrmMain> form_;
    TfrmMain* f = nullptr;
};

TEST_F(MenuKeyboard, EveryAdvancedItemIsReachedByItsCountOfDownPresses) {
    // Home Page, Use another FFmpeg, Donate, About...: the separators
    // between them are never counted.
    for (int count = 1; count <= 4; ++count) {
        const int chosen = ChooseFromAdvanced([count](KeyScript& k) {
            ASSERT_TRUE(k.WaitForMenus(1));
            k.Press(VK_DOWN, count);
            k.Press(VK_RETURN);
        });
        EXPECT_EQ(chosen, count - 1) << count << " presses of Down";
    }
    // Up from nothing selected is the last item; one more Up passes the
    // separator to Donate.
    EXPECT_EQ(ChooseFromAdvanced([](KeyScript& k) {
                  ASSERT_TRUE(k.WaitForMenus(1));
                  k.Press(VK_UP);
                  k.Press(VK_RETURN);
              }),
              3);
    EXPECT_EQ(ChooseFromAdvanced([](KeyScript& k) {
                  ASSERT_TRUE(k.WaitForMenus(1));
                  k.Press(VK_UP, 2);
                  k.Press(VK_RETURN);
              }),
              2);
}

TEST_F(MenuKeyboard, EachAdvancedLetterChoosesItsItemAtOnce) {
    const struct {
        WORD key;
        int item;
    } letters[] = {{'H', 0}, {'U', 1}, {'D', 2}, {'A', 3}};
    for (const auto& l : letters) {
        const int chosen = ChooseFromAdvanced([&](KeyScript& k) {
            ASSERT_TRUE(k.WaitForMenus(1));
            // Wherever the selection is, the letter goes straight to its item.
            k.Press(VK_DOWN, 2);
            k.Press(l.key);
        });
        EXPECT_EQ(chosen, l.item) << static_cast<char>(l.key);
    }
}

// A click on a separator leaves the menu open with nothing chosen, so the
// next key still reaches it.
TEST_F(MenuKeyboard, AClickOnASeparatorChoosesNothingAndKeepsTheMenuOpen) {
    const int chosen = ChooseFromAdvanced([](KeyScript& k) {
        ASSERT_TRUE(k.WaitForMenus(1));
        HWND menu = OpenMenus().front();
        // The first separator, under "&Home Page": its line, found on screen.
        POINT p{40, -1};
        KeyScript::WaitFor([&] {
            HDC dc = GetDC(menu);
            for (int y = 0; y < 60 && p.y < 0; ++y)
                if ((GetPixel(dc, p.x, y) & 0xFFFFFF) == 0x848284) p.y = y;
            ReleaseDC(menu, dc);
            return p.y >= 0;
        });
        ASSERT_GE(p.y, 0);
        ClientToScreen(menu, &p);
        RECT r;
        GetWindowRect(menu, &r);
        SetCursorPos((r.left + r.right) / 2, p.y);
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
        k.Press('A');
    });
    EXPECT_EQ(chosen, 3) << "the menu was still open for the letter";
}

// The letters open the real windows: "Use another FFmpeg" and "About...".
TEST_F(MenuKeyboard, UAndAOpenTheirWindows) {
    const struct {
        WORD key;
        const char* windowClass;
    } letters[] = {{'U', "TfrmUseFFmpeg"}, {'A', "TfrmAbout"}};
    for (const auto& l : letters) {
        bool opened = false;
        KeyScript keys([&](KeyScript& k) {
            ASSERT_TRUE(k.WaitForMenus(1));
            k.Press(l.key);
            HWND window = nullptr;
            opened = KeyScript::WaitFor([&] { return (window = wintest::FindProcessWindow(l.windowClass, "")); });
            if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        });
        f->suiPopupMenu1->Popup(700, 200);
        keys.Join();
        EXPECT_TRUE(opened) << l.windowClass;
        EXPECT_FALSE(keys.LeftAMenuOpen());
    }
}

class ProfileMenuKeyboard : public MenuKeyboard {
protected:
    // Opens the profile menu as Ctrl+P does and runs the script; the text
    // of the profile box afterwards.
    std::string Choose(const std::function<void(KeyScript&)> script) {
        f->fpType->SetCaption("");
        KeyScript keys(script);
        EXPECT_TRUE(f->IsShortCut(16464));
        keys.Join();
        EXPECT_FALSE(keys.LeftAMenuOpen());
        return f->fpType->Caption();
    }
    static std::string FirstProfileOf(const std::string& group) {
        for (const profiles::CatalogueEntry& e : profiles::Catalogue())
            if (group == e.group) return e.caption;
        return "";
    }
};

TEST_F(ProfileMenuKeyboard, EveryGroupAndManualConversionAreReachedByTheirCount) {
    const auto groups = profiles::CatalogueGroups();
    ASSERT_EQ(groups.size(), 25u);
    for (int g = 0; g < 25; ++g) {
        const std::string chosen = Choose([g](KeyScript& k) {
            ASSERT_TRUE(k.WaitForMenus(1));
            k.Press(VK_DOWN, g + 1);
            k.Press(VK_RIGHT);  // opens the group with its first profile selected
            ASSERT_TRUE(k.WaitForMenus(2));
            k.Press(VK_RETURN);
        });
        EXPECT_EQ(chosen, FirstProfileOf(groups[static_cast<size_t>(g)])) << g + 1 << " presses of Down";
    }

    bool manual = false;
    f->miManualConvert->OnClick = [&](rt::Component*) { manual = true; };
    Choose([](KeyScript& k) {
        ASSERT_TRUE(k.WaitForMenus(1));
        k.Press(VK_DOWN, 26);  // 25 groups, then Manual conversion
        k.Press(VK_RETURN);
    });
    EXPECT_TRUE(manual);

    // Up: Manual conversion first, then past the separator to the last group.
    manual = false;
    Choose([](KeyScript& k) {
        ASSERT_TRUE(k.WaitForMenus(1));
        k.Press(VK_UP);
        k.Press(VK_RETURN);
    });
    EXPECT_TRUE(manual);
    EXPECT_EQ(Choose([](KeyScript& k) {
                  ASSERT_TRUE(k.WaitForMenus(1));
                  k.Press(VK_UP, 2);
                  k.Press(VK_RIGHT);
                  ASSERT_TRUE(k.WaitForMenus(2));
                  k.Press(VK_RETURN);
              }),
              FirstProfileOf(groups[24]));
}

TEST_F(ProfileMenuKeyboard, AFirstLetterSelectsTheGroupsStartingWithItInTurn) {
    const auto groups = profiles::CatalogueGroups();
    // The letter that starts the most groups.
    char letter = 0;
    std::vector<int> starting;
    for (char c = 'A'; c <= 'Z'; ++c) {
        std::vector<int> with;
        for (int g = 0; g < 25; ++g)
            if (groups[static_cast<size_t>(g)][0] == c) with.push_back(g);
        if (with.size() > starting.size()) {
            starting = with;
            letter = c;
        }
    }
    ASSERT_GE(starting.size(), 2u);

    std::vector<int> seen;
    bool stayedOpen = true;
    const std::string chosen = Choose([&](KeyScript& k) {
        ASSERT_TRUE(k.WaitForMenus(1));
        HWND menu = OpenMenus().front();
        // One press more than there are such groups: round to the first.
        for (size_t press = 0; press <= starting.size(); ++press) {
            const int expected = starting[press % starting.size()];
            k.Press(static_cast<WORD>(letter));
            KeyScript::WaitFor([&] { return HighlightedItem(menu) == expected; }, 5000);
            seen.push_back(HighlightedItem(menu));
            stayedOpen = stayedOpen && OpenMenus().size() == 1;
        }
        // The selected group opens as any other.
        k.Press(VK_RIGHT);
        ASSERT_TRUE(k.WaitForMenus(2));
        k.Press(VK_RETURN);
    });
    std::vector<int> expected;
    for (size_t press = 0; press <= starting.size(); ++press) expected.push_back(starting[press % starting.size()]);
    EXPECT_EQ(seen, expected) << "groups starting with " << letter;
    EXPECT_TRUE(stayedOpen) << "a first letter selects and opens nothing";
    EXPECT_EQ(chosen, FirstProfileOf(groups[static_cast<size_t>(starting[0])]));
}

TEST_F(ProfileMenuKeyboard, AFirstLetterInsideAGroupSelectsItsProfile) {
    const auto groups = profiles::CatalogueGroups();
    std::vector<std::string> profilesOfFirst;
    for (const profiles::CatalogueEntry& e : profiles::Catalogue())
        if (groups[0] == e.group) profilesOfFirst.push_back(e.caption);
    ASSERT_GE(profilesOfFirst.size(), 2u);
    // The group opens with its first profile selected; the first letter of
    // the second one moves there.
    const char letter = profilesOfFirst[1][0];
    EXPECT_EQ(Choose([&](KeyScript& k) {
                  ASSERT_TRUE(k.WaitForMenus(1));
                  k.Press(VK_DOWN);
                  k.Press(VK_RIGHT);
                  ASSERT_TRUE(k.WaitForMenus(2));
                  HWND sub = OpenMenus().front();
                  k.Press(static_cast<WORD>(letter));
                  EXPECT_TRUE(KeyScript::WaitFor([&] { return HighlightedItem(sub) == 1; }, 5000));
                  k.Press(VK_RETURN);
              }),
              profilesOfFirst[1]);
}

}  // namespace
