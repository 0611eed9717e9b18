#pragma once
// The built-in output profiles and the two lookups that turn the profile
// caption (the profile box text, which is also what the settings store) into
// the encoder options and the output extension. No user interface here.
#include <span>
#include <string>
#include <vector>

namespace profiles {

struct CatalogueEntry {
    const char* group;      // submenu of the profile menu
    const char* caption;    // identity of the profile, shown and stored
    const char* arguments;  // encoder options: begins with "-", ends with one blank
    const char* extension;  // with its leading "."
};

// All entries in menu order, which is also the order the lookups compare in.
std::span<const CatalogueEntry> Catalogue();

// The submenu captions in menu order, each once.
std::vector<std::string> CatalogueGroups();

// Argument string / output extension of a profile caption: a catalogue
// caption matched exactly, or a manual command line cut apart; "" otherwise.
std::string GetProfileArguments(const std::string& caption);
std::string GetProfileExtension(const std::string& caption);

// The manual command line: "ffmpeg -i %1 " + options + " %1." + extension.
// The "%1" marks are notation for the user and are never replaced.
std::string ComposeManualCommandLine(const std::string& options, const std::string& extension);

// Cuts a manual command line back into the dialog's two fields, at its first
// "%1.". Returns false and leaves both fields alone for any other caption.
bool SplitManualCommandLine(const std::string& caption, std::string& options, std::string& extension);

// Whether an extension typed by hand (without its dot) can end an output
// file name: not empty; no path separator, ":", double quote, wildcard, "<",
// ">", "|" or control character; no blank or dot at either end. Anything
// else could write outside the chosen folder or add encoder arguments.
bool IsAcceptableExtension(const std::string& extension);

// True for a manual command line whose extension is not acceptable (only a
// hand-edited settings file can hold one); false for any other caption.
bool ManualExtensionRefused(const std::string& caption);

}  // namespace profiles
