#pragma once
// Libraries from the system folder only. A program started from a folder
// the user downloads into must not load a DLL that lies there under a
// system library's name: the libraries the program does not get through its
// imports (none of which may be outside the protected set) are loaded here,
// explicitly, from the system folder.
#include "runtime/Win.h"

namespace rt {

// The first thing the program does: every library loaded later, by the
// program or by the platform on its behalf, comes from the system folder.
void LoadLibrariesFromSystemFolderOnly();

// An export of `dll` loaded from the system folder (kept loaded for the
// program's life); nullptr when either is missing.
FARPROC SystemLibraryProc(const wchar_t* dll, const char* name);
// The same as a pointer to a function of type F.
template <typename F>
F SystemLibraryFunction(const wchar_t* dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(SystemLibraryProc(dll, name)));
}

// TransparentBlt of the system's MSIMG32; false when it is not there.
bool TransparentBlit(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int swidth,
                     int sheight, COLORREF key);

}  // namespace rt
