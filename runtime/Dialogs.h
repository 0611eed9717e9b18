#pragma once
// The system's file-open dialog.
#include "runtime/Controls.h"

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
    // Folder and every chosen name together. Large from the start: some
    // dialogs keep only the names that fit and say nothing. When a dialog
    // does say the selection did not fit, Execute doubles it (up to
    // MaxBufferChars) and shows the dialog again.
    size_t BufferChars = 4 * 1024 * 1024;
    static constexpr size_t MaxBufferChars = 256 * 1024 * 1024;
    std::vector<std::string> Files;  // every chosen file (full paths)

    bool Execute();
};

}  // namespace rt
