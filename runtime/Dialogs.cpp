#include "runtime/Dialogs.h"

#include <commdlg.h>

#include "runtime/Forms.h"
#include "runtime/Strings.h"

namespace rt {

bool OpenDialog::Execute() {
    std::string filter = Filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> buffer;
    for (;;) {
        buffer.assign(BufferChars + 1, '\0');
        FileName.copy(buffer.data(), std::min(FileName.size(), BufferChars));

        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = GetActiveWindow();
        ofn.lpstrFilter = filter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(BufferChars);
        ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
        ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
        ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
        if (AllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
        if (HideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
        if (EnableSizing) ofn.Flags |= OFN_ENABLESIZING;
        if (GetOpenFileNameA(&ofn)) break;
        // The selection did not fit and is lost: ask again with room for it.
        // The size the dialog reports needing fits 16 bits only, so it is
        // no guide beyond 64 KiB; doubling is.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || BufferChars >= MaxBufferChars) return false;
        BufferChars = std::min(BufferChars * 2, MaxBufferChars);
    }

    Files.clear();
    // Several names: the folder, then each name, each ended by a zero.
    const char* p = buffer.data();
    std::string first = p;
    p += first.size() + 1;
    if (AllowMultiSelect && *p) {
        const std::string folder = text::IncludeTrailingPathDelimiter(first);
        while (*p) {
            std::string name = p;
            Files.push_back(folder + name);
            p += name.size() + 1;
        }
    } else {
        Files.push_back(first);
    }
    FileName = Files.front();
    return true;
}

}  // namespace rt
