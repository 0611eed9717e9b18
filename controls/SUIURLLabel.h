#pragma once
// A hyperlink label: underlined text that changes colour under the pointer
// and opens its URL through the shell when clicked.
#include <functional>
#include <string>

#include "runtime/StdControls.h"

class TsuiURLLabel : public rt::Label {
public:
    explicit TsuiURLLabel(rt::Component* owner);
    const char* ClassName() const override { return "TsuiURLLabel"; }

    const std::string& URL() const { return url_; }
    void SetURL(const std::string& url);
    rt::TColor FontHoverColor = rt::clRed;
    rt::TColor FontLinkColor() const { return linkColor_; }
    // Also sets the font colour at once, under the pointer or not.
    void SetFontLinkColor(rt::TColor c);

    void MouseEnter() override;
    void MouseLeave() override;
    void Click() override;

    // How every link label hands its URL to the shell; tests put a recorder
    // here instead of starting a browser.
    static std::function<void(const std::string& url)> ShellOpen;

private:
    void SetFontColor(rt::TColor c);
    std::string url_;
    rt::TColor linkColor_ = rt::clBlue;
};
