#pragma once
// Action lists: the keyboard shortcuts of a form.
#include "runtime/Component.h"
#include "runtime/Win.h"

#include <string>
#include <vector>

namespace rt {

// Shortcut values: a virtual-key code plus these flags (Ctrl+P = 16464).
constexpr WORD scShift = 0x2000;
constexpr WORD scCtrl = 0x4000;
constexpr WORD scAlt = 0x8000;
std::string ShortCutToText(WORD shortcut);  // "Ctrl+P"

class Action : public Component {
public:
    explicit Action(Component* owner) : Component(owner) {}
    const char* ClassName() const override { return "TAction"; }
    std::string Caption;
    WORD ShortCut = 0;
    NotifyEvent OnExecute;
    bool Execute();  // runs OnExecute; false when there is none
};

class ActionList : public Component {
public:
    explicit ActionList(Component* owner) : Component(owner) {}
    const char* ClassName() const override { return "TActionList"; }
    void Add(Action* a) { actions_.push_back(a); }
    const std::vector<Action*>& Actions() const { return actions_; }
    bool IsShortCut(WORD shortcut);  // runs the matching action

private:
    std::vector<Action*> actions_;
};

}  // namespace rt
