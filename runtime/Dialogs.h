#pragma once
// The system's file-open dialog.
#include "runtime/Component.h"
#include "runtime/Win.h"

#include <string>
#include <vector>

namespace rt {

class OpenDialog : public Component {
public:
    explicit OpenDialog(Component* owner) : Component(owner) {}
    const char* ClassName() const override { return "TOpenDialog"; }

    std::string Title;
    std::string FileName;    // the first chosen file (full path)
    std::string InitialDir;
    std::string Filter;      // "description|pattern|description|pattern"
    bool AllowMultiSelect = false;
    bool HideReadOnly = true;
    bool EnableSizing = true;
    size_t BufferChars = 65520;  // folder and every chosen name together
    std::vector<std::string> Files;  // every chosen file (full paths)

    bool Execute();
};

}  // namespace rt
