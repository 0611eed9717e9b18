#pragma once
// The five built-in looks of the skinned controls and the table that maps a
// look and an entry number (1 to 48) to a bitmap resource name, a colour, a
// flag or a number. No Windows API here: the Windows painters ask this table
// and load the named bitmaps themselves.
#include <cstdint>
#include <optional>
#include <string_view>

namespace skin {

// Stored in one byte and streamed by name.
enum class TsuiUIStyle : uint8_t { FromThemeFile = 0, MacOS, WinXP, DeepBlue, Protein, BlueGlass };

// "FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass";
// "" for a value outside the enumeration.
std::string_view StyleName(TsuiUIStyle style);
// The inverse, ignoring the case of A to Z the way stored forms are read;
// nullopt for an unknown name.
std::optional<TsuiUIStyle> StyleFromName(std::string_view name);

// The kind of an entry, shared by all five looks.
enum class EntryKind : uint8_t { Integer = 0, Colour = 1, Bitmap = 2, Flag = 3 };

// Entries the controls of this program read.
namespace entry {
constexpr int Button = 1;                // bitmap: three button faces side by side
constexpr int ButtonTransparent = 2;     // flag: buttons mask their faces
constexpr int CheckBox = 3;              // bitmap: four check box glyphs side by side
constexpr int MenuBorder = 15;           // colour: the flat menu frame's line
constexpr int MenuSelectedBorder = 18;   // colour
constexpr int MenuSelected = 19;         // colour
constexpr int MenuSelectedFont = 20;     // colour
constexpr int MenuBackground = 21;       // colour
constexpr int MenuFont = 22;             // colour
constexpr int MenuBar = 23;              // colour: the side bar
constexpr int ProgressBar = 24;          // bitmap: the fill, stretched
constexpr int Border = 25;               // colour: edits and progress bars
constexpr int ProgressBackground = 26;   // colour
}  // namespace entry

constexpr int kEntryCount = 48;

struct ThemeEntry {
    EntryKind kind = EntryKind::Integer;
    // Integer entries: the number. Colour entries: 0x00BBGGRR, or 0xFF0000nn
    // for system colour nn. Flag entries: 0 or 1. Bitmap entries: 0.
    int64_t value = -1;
    // Bitmap entries only: the resource name, which may be empty (no bitmap).
    // Points into the constant table, valid for the whole run.
    std::string_view name;
};

// The entry of a built-in look (MacOS to BlueGlass). Any other style value,
// FromThemeFile included, and any entry number outside 1 to 48 give kind
// Integer with value -1, so no bitmap loads and colours and flags read 0.
ThemeEntry LookUpEntry(TsuiUIStyle style, int entryNumber);

// The value when the entry has the asked-for kind, else the neutral value:
// colour 0 (black), flag false, number -1, name "".
uint32_t StyleColor(TsuiUIStyle style, int entryNumber);
bool StyleFlag(TsuiUIStyle style, int entryNumber);
int32_t StyleNumber(TsuiUIStyle style, int entryNumber);
std::string_view StyleBitmapName(TsuiUIStyle style, int entryNumber);

struct ResolvedStyle {
    bool useFile = false;  // the theme file supplies the look; style is then FromThemeFile
    TsuiUIStyle style = TsuiUIStyle::DeepBlue;
};

// Every control resolves its style before each lookup, so a control follows
// a theme file as soon as one is ready. FromThemeFile without a ready file
// looks like DeepBlue; any other value passes through unchanged (an
// out-of-range value then reads neutral values from LookUpEntry).
ResolvedStyle ResolveStyle(bool themeFileReady, TsuiUIStyle style);

// What setting UIStyle writes into a popup menu, for a built-in look (pass
// the resolved style). MacOS keeps its own item and separator heights.
struct MenuStyleValues {
    int menuItemHeight = 21;
    int separatorHeight = 5;
    int barWidth = 26;
    uint32_t barColor = 0;
    uint32_t barToColor = 0;
    uint32_t color = 0;
    uint32_t separatorColor = 0;
    uint32_t selectedBorderColor = 0;
    uint32_t selectedColor = 0;
    uint32_t selectedFontColor = 0;
    uint32_t fontColor = 0;
};
MenuStyleValues MenuStyleFor(TsuiUIStyle builtInStyle);

}  // namespace skin
