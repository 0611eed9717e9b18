#include "runtime/Actions.h"

namespace rt {

std::string ShortCutToText(WORD shortcut) {
    std::string s;
    if (shortcut & scShift) s += "Shift+";
    if (shortcut & scCtrl) s += "Ctrl+";
    if (shortcut & scAlt) s += "Alt+";
    const WORD key = shortcut & 0xFF;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        s += static_cast<char>(key);
    else if (key >= VK_F1 && key <= VK_F12)
        s += "F" + std::to_string(key - VK_F1 + 1);
    return s;
}

bool Action::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool ActionList::IsShortCut(WORD shortcut) {
    for (Action* a : actions_)
        if (a->ShortCut == shortcut && a->Execute()) return true;
    return false;
}

}  // namespace rt
