#include "controls/SUIURLLabel.h"

#include <shellapi.h>

#include "runtime/Strings.h"

// The shell's answer is not reported: a link that cannot be opened simply
// opens nothing.
std::function<void(const std::string& url)> TsuiURLLabel::ShellOpen = [](const std::string& url) {
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
};

TsuiURLLabel::TsuiURLLabel(rt::Component* owner) : rt::Label(owner), url_("http://www.marbex-soft.example/") {
    rt::Font f = GetFont();
    f.Style |= rt::fsUnderline;
    f.Color = rt::clBlue;
    SetFont(f);
    SetCursor(rt::CursorKind::Hand);
    SetCaption("www.marbex-soft.example");
}

void TsuiURLLabel::SetURL(const std::string& url) {
    if (url != url_) url_ = url;
}

void TsuiURLLabel::SetFontColor(rt::TColor c) {
    rt::Font f = GetFont();
    if (f.Color == c) return;
    f.Color = c;
    SetFont(f);
}

void TsuiURLLabel::SetFontLinkColor(rt::TColor c) {
    linkColor_ = c;
    SetFontColor(c);
}

void TsuiURLLabel::MouseEnter() { SetFontColor(FontHoverColor); }

void TsuiURLLabel::MouseLeave() { SetFontColor(linkColor_); }

void TsuiURLLabel::Click() {
    // The trimmed copy only decides; the shell gets the URL as stored.
    if (!text::Trim(url_).empty() && ShellOpen) ShellOpen(url_);
    rt::Label::Click();
}
