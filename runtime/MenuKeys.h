#pragma once
// Choosing a menu item by a typed letter, for menus whose items the system
// cannot read because the menu draws them itself. No Windows API here.
#include <string>
#include <vector>

namespace menukeys {

struct Entry {
    std::string caption;
    bool choosable = true;  // false for separators and disabled items
};

enum class Action { None, Execute, Select };

struct Choice {
    Action action = Action::None;
    int index = -1;
};

// The item a typed letter picks, as the system does for menus it draws:
// a letter marked with "&" by one item chooses that item at once; marked by
// several, it moves the selection to the next of them. Items without a
// marked letter are selected in turn by their first letter. `current` is
// the selected item or -1; after the last match the search starts again
// from the top. Letters compare without regard to case.
Choice FindMenuChar(const std::vector<Entry>& items, int current, char key);

}  // namespace menukeys
