#include "skin/ThemeTable.h"

#include "runtime/Strings.h"

#include <array>
#include <string>

namespace skin {

namespace {

constexpr std::array<std::string_view, 6> kStyleNames = {
    "FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};

// Resource name prefixes of the built-in looks, MacOS first.
constexpr std::array<std::string_view, 5> kPrefixes = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN",
                                                       "BLUEGLASS"};

using K = EntryKind;

// One row per entry: its kind, the resource name suffix of a bitmap entry,
// and the values of the five looks (MacOS, WinXP, DeepBlue, Protein,
// BlueGlass) for the other kinds. Entries the program's own controls never
// read (title bars, scroll and track bars, tabs, side channels) still carry
// values, so a control that asks gets something that fits the look.
struct EntryRow {
    EntryKind kind;
    std::string_view suffix;
    std::array<int64_t, 5> values;
};

constexpr std::array<EntryRow, kEntryCount> kRows = {{
    /*  1 */ {K::Bitmap, "BUTTON", {}},
    /*  2 */ {K::Flag, "", {1, 0, 0, 0, 1}},  // buttons mask their faces
    /*  3 */ {K::Bitmap, "CHECKBOX", {}},
    /*  4 */ {K::Bitmap, "RADIOBUTTON", {}},
    /*  5 */ {K::Bitmap, "TITLEBTN", {}},
    /*  6 */ {K::Flag, "", {1, 0, 0, 1, 1}},  // title bar buttons mask their faces
    /*  7 */ {K::Integer, "", {22, 30, 24, 23, 27}},  // title bar height
    /*  8 */ {K::Integer, "", {4, 5, 4, 4, 5}},  // title bar buttons: top
    /*  9 */ {K::Integer, "", {26, 24, 22, 22, 24}},  // title bar caption: left
    /* 10 */ {K::Bitmap, "TITLE_LEFT", {}},
    /* 11 */ {K::Bitmap, "TITLE_CLIENT", {}},
    /* 12 */ {K::Bitmap, "TITLE_RIGHT", {}},
    /* 13 */ {K::Integer, "", {3, 4, 3, 3, 3}},  // form border width
    /* 14 */ {K::Integer, "", {2, 2, 1, 1, 2}},  // gap between title bar buttons
    /* 15 */ {K::Colour, "", {0x7F7F7F, 0x99A8AC, 0xA04A44, 0xC4302D, 0xEC5E5E}},  // flat menu frame
    /* 16 */ {K::Colour, "", {0xA5A5A5, 0xE35400, 0x6B2A20, 0x8C8C8C, 0xB07040}},  // form border
    /* 17 */ {K::Integer, "", {22, 20, 20, 20, 21}},  // menu bar height
    /* 18 */ {K::Colour, "", {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},  // menu: selected item border
    /* 19 */ {K::Colour, "", {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},  // menu: selected item fill
    /* 20 */ {K::Colour, "", {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},  // menu: selected item text
    /* 21 */ {K::Colour, "", {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},  // menu: item background
    /* 22 */ {K::Colour, "", {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}},  // menu: item text
    /* 23 */ {K::Colour, "", {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},  // menu: side bar
    /* 24 */ {K::Bitmap, "PROGRESSBAR", {}},
    /* 25 */ {K::Colour, "", {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}},  // edit and progress border
    /* 26 */ {K::Colour, "", {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},  // progress background
    /* 27 */ {K::Colour, "", {0xEEEEEE, 0xD8E9EC, 0xF0E8E0, 0xF4F4F4, 0xF7EFE7}},  // form background
    /* 28 */ {K::Bitmap, "TRACKBAR_BAR", {}},
    /* 29 */ {K::Bitmap, "TRACKBAR_SLIDER", {}},
    /* 30 */ {K::Bitmap, "TRACKBAR_SLIDER_V", {}},
    /* 31 */ {K::Colour, "", {0xE7E7E7, 0xEEF3F4, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},  // scroll bar track
    /* 32 */ {K::Bitmap, "SCROLLBAR_BUTTON", {}},
    /* 33 */ {K::Bitmap, "SCROLLBAR_TRACK", {}},
    /* 34 */ {K::Bitmap, "CHECKLIST", {}},
    /* 35 */ {K::Colour, "", {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF}},  // title bar caption
    /* 36 */ {K::Colour, "", {0xEEEEEE, 0xD8E9EC, 0xF0E8E0, 0xF4F4F4, 0xF7EFE7}},  // panel face
    /* 37 */ {K::Colour, "", {0x000000, 0xD54600, 0xA04A44, 0xC4302D, 0xB05E3C}},  // group box caption
    /* 38 */ {K::Bitmap, "SCROLLBUTTON", {}},
    /* 39 */ {K::Bitmap, "TAB", {}},
    /* 40 */ {K::Bitmap, "TAB_LINE", {}},
    /* 41 */ {K::Bitmap, "SIDECHENNEL_HANDLE", {}},
    /* 42 */ {K::Bitmap, "SIDECHENNEL_BAR", {}},
    /* 43 */ {K::Bitmap, "", {}},
    /* 44 */ {K::Colour, "", {0xDDDDDD, 0xD8E9EC, 0xD8C8C0, 0xE0E0E0, 0xE7DED6}},  // side channel
    /* 45 */ {K::Bitmap, "", {}},
    /* 46 */ {K::Bitmap, "", {}},
    /* 47 */ {K::Integer, "", {15, 17, 16, 16, 16}},  // scroll bar width
    /* 48 */ {K::Colour, "", {0xFFFFFF, 0xFEFCFC, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},  // tab page
}};

constexpr int kScrollButtonEntry = 38;

using NameTable = std::array<std::array<std::string, kEntryCount>, kPrefixes.size()>;

const NameTable& ResourceNames() {
    static const NameTable names = [] {
        NameTable t;
        for (size_t s = 0; s < kPrefixes.size(); ++s) {
            for (size_t e = 0; e < kRows.size(); ++e) {
                const EntryRow& row = kRows[e];
                if (row.kind != K::Bitmap || row.suffix.empty()) continue;
                const auto style = static_cast<TsuiUIStyle>(s + 1);
                // Three looks share one scroll button strip.
                if (e + 1 == kScrollButtonEntry && style >= TsuiUIStyle::DeepBlue) {
                    t[s][e] = "MORE_SCROLLBUTTON";
                } else {
                    t[s][e] = std::string(kPrefixes[s]) + "_" + std::string(row.suffix);
                }
            }
        }
        return t;
    }();
    return names;
}

bool IsBuiltIn(TsuiUIStyle style) {
    return style >= TsuiUIStyle::MacOS && style <= TsuiUIStyle::BlueGlass;
}

}  // namespace

std::string_view StyleName(TsuiUIStyle style) {
    const auto index = static_cast<size_t>(style);
    return index < kStyleNames.size() ? kStyleNames[index] : std::string_view();
}

std::optional<TsuiUIStyle> StyleFromName(std::string_view name) {
    const std::string wanted = text::LowerAZ(std::string(name));
    for (size_t i = 0; i < kStyleNames.size(); ++i) {
        if (text::LowerAZ(std::string(kStyleNames[i])) == wanted) {
            return static_cast<TsuiUIStyle>(i);
        }
    }
    return std::nullopt;
}

ThemeEntry LookUpEntry(TsuiUIStyle style, int entryNumber) {
    if (!IsBuiltIn(style) || entryNumber < 1 || entryNumber > kEntryCount) return {};
    const auto s = static_cast<size_t>(style) - 1;
    const auto e = static_cast<size_t>(entryNumber - 1);
    const EntryRow& row = kRows[e];
    if (row.kind == K::Bitmap) return {K::Bitmap, 0, ResourceNames()[s][e]};
    return {row.kind, row.values[s], {}};
}

uint32_t StyleColor(TsuiUIStyle style, int entryNumber) {
    const ThemeEntry e = LookUpEntry(style, entryNumber);
    return e.kind == K::Colour ? static_cast<uint32_t>(e.value) : 0;
}

bool StyleFlag(TsuiUIStyle style, int entryNumber) {
    const ThemeEntry e = LookUpEntry(style, entryNumber);
    return e.kind == K::Flag && e.value != 0;
}

int32_t StyleNumber(TsuiUIStyle style, int entryNumber) {
    const ThemeEntry e = LookUpEntry(style, entryNumber);
    return e.kind == K::Integer ? static_cast<int32_t>(e.value) : -1;
}

std::string_view StyleBitmapName(TsuiUIStyle style, int entryNumber) {
    const ThemeEntry e = LookUpEntry(style, entryNumber);
    return e.kind == K::Bitmap ? e.name : std::string_view();
}

ResolvedStyle ResolveStyle(bool themeFileReady, TsuiUIStyle style) {
    if (style != TsuiUIStyle::FromThemeFile) return {false, style};
    if (themeFileReady) return {true, TsuiUIStyle::FromThemeFile};
    return {false, TsuiUIStyle::DeepBlue};
}

MenuStyleValues MenuStyleFor(TsuiUIStyle builtInStyle) {
    const bool macOS = builtInStyle == TsuiUIStyle::MacOS;
    MenuStyleValues v;
    v.menuItemHeight = macOS ? 20 : 21;
    v.separatorHeight = macOS ? 12 : 5;
    v.barWidth = 26;
    v.barColor = StyleColor(builtInStyle, entry::MenuBar);
    v.barToColor = v.barColor;
    v.color = StyleColor(builtInStyle, entry::MenuBackground);
    v.separatorColor = macOS ? 0x000000 : 0x848284;
    v.selectedBorderColor = StyleColor(builtInStyle, entry::MenuSelectedBorder);
    v.selectedColor = StyleColor(builtInStyle, entry::MenuSelected);
    v.selectedFontColor = StyleColor(builtInStyle, entry::MenuSelectedFont);
    v.fontColor = StyleColor(builtInStyle, entry::MenuFont);
    return v;
}

}  // namespace skin
