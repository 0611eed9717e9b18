#include "controls/SUIURLLabel.h"

#include <shellapi.h>

#include "runtime/Strings.h"

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
    if (!text::Trim(url_).empty()) ShellExecuteA(nullptr, "open", url_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    rt::Label::Click();
}
