// The packages in dist/ as a user gets them, in a Wine prefix of their own:
// the setup program run silently, the installed program, its encoder, the
// uninstaller, and the portable zip. The clips come from the system's own
// encoder; the zip is unpacked with the system's unzip.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "Version.h"
#include "app/Main.h"
#include "dialogs/About.h"
#include "engine/ConvertThread.h"
#include "runtime/Strings.h"
#include "tests/win/common/SystemTools.h"
#include "tests/win/common/WinTest.h"

using wintest::ReadTextFile;

namespace {

constexpr char kMainClass[] = "Marbex Free Video Converter Made by Marbex Software";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MarbexFreeVideoConverter";
const char* const kShippedFiles[] = {"MarbexVideoConverter.exe", "ffmpeg.exe", "README.txt", "LICENSE.txt",
                                     "THIRD-PARTY-NOTICES.txt"};

std::string Env(const char* name) {
    char buffer[MAX_PATH * 4] = {};
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

std::string DosPath(const std::string& unixPath) {
    using ToDos = wchar_t*(CDECL*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return unixPath;
    wchar_t* w = toDos(unixPath.c_str());
    if (!w) return unixPath;
    char buffer[MAX_PATH * 4] = {};
    WideCharToMultiByte(CP_UTF8, 0, w, -1, buffer, sizeof buffer, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, w);
    return buffer;
}

std::string DistFile(const std::string& suffix) {
    return DosPath(MFVC_DIST_DIR) + "\\MarbexFreeVideoConverter-" + MFVC_VERSION_TEXT + suffix;
}

std::string InstallFolder() { return Env("LOCALAPPDATA") + "\\Programs\\Marbex Free Video Converter\\"; }
std::string Shortcut() { return Env("APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Marbex Free Video Converter.lnk"; }

// Runs a program and waits for its end; its exit code, or -1.
int RunAndWait(const std::string& commandLine, int timeoutMs = 120000) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

// A value of the version resource of a file: "FileVersion",
// "ProductVersion", ... from its first translation; "fixed" gives the
// numeric file and product versions as "a.b.c.d/a.b.c.d".
std::string VersionValue(const std::string& file, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return "<no version resource>";
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return "<unreadable>";
    void* p = nullptr;
    UINT len = 0;
    if (name == "fixed") {
        if (!VerQueryValueA(data.data(), "\\", &p, &len) || len < sizeof(VS_FIXEDFILEINFO)) return "<no fixed part>";
        const auto* f = static_cast<const VS_FIXEDFILEINFO*>(p);
        auto dotted = [](DWORD ms, DWORD ls) {
            return std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." + std::to_string(HIWORD(ls)) +
                   "." + std::to_string(LOWORD(ls));
        };
        return dotted(f->dwFileVersionMS, f->dwFileVersionLS) + "/" +
               dotted(f->dwProductVersionMS, f->dwProductVersionLS);
    }
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &p, &len) || len < 4) return "<no translation>";
    const auto* t = static_cast<const WORD*>(p);
    char key[128];
    snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", t[0], t[1], name.c_str());
    if (!VerQueryValueA(data.data(), key, &p, &len) || len == 0) return "<no " + name + ">";
    return static_cast<const char*>(p);
}

// The images of an icon file, each as its bytes.
std::vector<std::string> IconFileImages(const std::string& path) {
    const std::string ico = ReadTextFile(path);
    std::vector<std::string> images;
    if (ico.size() < 6) return images;
    uint16_t count = 0;
    std::memcpy(&count, ico.data() + 4, 2);
    for (uint16_t i = 0; i < count && 6u + 16u * (i + 1u) <= ico.size(); ++i) {
        uint32_t bytes = 0, offset = 0;
        std::memcpy(&bytes, ico.data() + 6 + 16 * i + 8, 4);
        std::memcpy(&offset, ico.data() + 6 + 16 * i + 12, 4);
        if (offset + bytes <= ico.size()) images.push_back(ico.substr(offset, bytes));
    }
    return images;
}

// The icon images (RT_ICON) and the manifest stored in a program file.
struct Resources {
    std::vector<std::string> icons;
    std::string manifest;
};
Resources ReadResources(const std::string& file) {
    Resources r;
    HMODULE m = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!m) return r;
    auto blob = [m](HRSRC res) {
        return std::string(static_cast<const char*>(LockResource(LoadResource(m, res))), SizeofResource(m, res));
    };
    struct Ctx {
        Resources* r;
        decltype(blob)* blob;
    } ctx{&r, &blob};
    EnumResourceNamesA(
        m, RT_ICON,
        [](HMODULE mod, LPCSTR type, LPSTR name, LONG_PTR lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            c->r->icons.push_back((*c->blob)(FindResourceA(mod, name, type)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ctx));
    if (HRSRC res = FindResourceA(m, MAKEINTRESOURCEA(1), RT_MANIFEST)) r.manifest = blob(res);
    FreeLibrary(m);
    return r;
}

bool Contains(const std::vector<std::string>& all, const std::string& one) {
    return std::find(all.begin(), all.end(), one) != all.end();
}

std::string ShortcutTarget(const std::string& lnk) {
    std::string target;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // once more is harmless
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return "<no shell link object>";
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(lnk.begin(), lnk.end());
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            char path[MAX_PATH * 4] = {};
            if (SUCCEEDED(link->GetPath(path, sizeof path, nullptr, 0))) target = path;
        }
        file->Release();
    }
    link->Release();
    return target;
}

std::string RegString(const char* value) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}

bool KeyExists(HKEY root, const char* key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return 0;
    return (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

// The program started from `exe`: its main window appears, and closed, the
// process ends.
void StartShowAndClose(const std::string& exe) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               text::ExtractFilePath(exe).c_str(), &si, &pi))
        << exe;
    HWND main = nullptr;
    const bool shown = wintest::PumpUntil(
        [&] {
            HWND h = FindWindowA(kMainClass, nullptr);
            DWORD pid = 0;
            if (h) GetWindowThreadProcessId(h, &pid);
            if (h && pid == pi.dwProcessId && IsWindowVisible(h)) main = h;
            return main != nullptr;
        },
        60000);
    EXPECT_TRUE(shown) << "no main window from " << exe;
    if (shown) {
        EXPECT_EQ(wintest::WindowText(main), "Marbex Free Video Converter");
        PostMessageA(main, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_TRUE(ended) << "the program did not end when its window closed";
}

// A short clip converted by the program's Convert command with `encoder`.
void ConvertsWith(const std::string& encoder, const std::string& work) {
    // An encoder that does not even run fails here rather than inside the
    // progress window.
    ASSERT_EQ(RunAndWait("\"" + encoder + "\" -version", 60000), 0) << encoder;
    const std::string input = wintest::MakeCleanFolder(work + " in");
    const std::string output = wintest::MakeCleanFolder(work + " out");
    ASSERT_TRUE(wintest::MakeClip(input + "clip.avi", 2, "160x120")) << "the system's ffmpeg made no clip";
    // Gone again at the end: a main window of ours would take the started
    // program for a second copy.
    auto form = std::make_unique<TfrmMain>(nullptr);
    frmMain->cbSameInput->SetChecked(false);
    frmMain->eOutputFolder->SetText(output);
    frmMain->FInputDirectory = input;
    frmMain->FAnotherFFmpeg = encoder;
    frmMain->fpType->SetCaption("MPEG-1 (*.mpg)");
    wintest::ShownErrors().clear();
    std::vector<std::string> boxes;
    {
        wintest::FileDialogAnswers answers("Select one or more video files", "clip.avi");
        frmMain->bConvertClick(nullptr);
        boxes = answers.Boxes();
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    EXPECT_TRUE(wintest::ShownErrors().empty());
    const wintest::Probe probe = wintest::ProbeFile(output, output + "clip.mpg");
    EXPECT_EQ(probe.format, "mpeg");
    EXPECT_EQ(probe.videoSize, "160x120");
    EXPECT_NEAR(probe.duration, 2.0, 0.15);
    form->Close();
}

std::string AboutVersion() {
    TfrmAbout about(nullptr, AboutDetails{});
    const std::string line = about.Label2->Caption();  // "Version: x.y.z   Build yyyymmdd"
    const size_t from = line.find("Version: "), to = line.find("   Build ");
    if (from != 0 || to == std::string::npos) return "<" + line + ">";
    return line.substr(9, to - 9);
}

// The cases run in this order: install, use, versions, uninstall, zip.
class Package : public testing::Test {};

TEST_F(Package, SilentSetupInstallsForThisUserWithShortcutAndUninstallEntry) {
    const std::string setup = DistFile("-setup.exe");
    ASSERT_TRUE(rt::FileExists(setup)) << setup << " (made by tools/package.sh)";
    ASSERT_FALSE(rt::DirectoryExists(InstallFolder())) << "the prefix is not fresh";
    ASSERT_EQ(RunAndWait("\"" + setup + "\" /S"), 0);

    const std::string dir = InstallFolder();
    uint64_t bytes = 0;
    for (const char* f : kShippedFiles) {
        EXPECT_TRUE(rt::FileExists(dir + f)) << f;
        bytes += FileSize(dir + f);
    }
    EXPECT_TRUE(rt::FileExists(dir + "uninstall.exe"));
    bytes += FileSize(dir + "uninstall.exe");
    const std::string notices = ReadTextFile(dir + "THIRD-PARTY-NOTICES.txt");
    EXPECT_NE(notices.find("\r\nffmpeg version "), std::string::npos);
    EXPECT_NE(notices.find("configuration: "), std::string::npos);
    EXPECT_NE(notices.find("General Public License"), std::string::npos);
    EXPECT_NE(ReadTextFile(dir + "LICENSE.txt").find("MIT License\r\n"), std::string::npos);

    EXPECT_EQ(text::LowerAZ(ShortcutTarget(Shortcut())), text::LowerAZ(dir + "MarbexVideoConverter.exe"));

    EXPECT_EQ(RegString("DisplayName"), "Marbex Free Video Converter");
    EXPECT_EQ(RegString("DisplayVersion"), MFVC_VERSION_TEXT);
    EXPECT_EQ(RegString("Publisher"), "Marbex Software");
    EXPECT_EQ(RegString("DisplayIcon"), dir + "MarbexVideoConverter.exe,0");
    EXPECT_EQ(RegString("UninstallString"), "\"" + dir + "uninstall.exe\"");
    EXPECT_EQ(RegString("QuietUninstallString"), "\"" + dir + "uninstall.exe\" /S");
    DWORD kb = 0, size = sizeof kb;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr, &kb, &size),
              ERROR_SUCCESS);
    EXPECT_NEAR(static_cast<double>(kb), static_cast<double>(bytes) / 1024.0, 8.0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "a per-user install writes nothing for all users";

    // It asks for no administrator rights.
    EXPECT_NE(ReadResources(setup).manifest.find("level=\"asInvoker\""), std::string::npos);
}

TEST_F(Package, TheInstalledProgramStartsAndClosedWritesItsSettingsBesideItself) {
    const std::string dir = InstallFolder();
    ASSERT_FALSE(rt::FileExists(dir + "settings.ini"));
    StartShowAndClose(dir + "MarbexVideoConverter.exe");
    EXPECT_EQ(ReadTextFile(dir + "settings.ini"),
              "[Options]\r\nOutputDirectory=" + dir + "\r\nOutputFormat=\r\nSameInput=0\r\nAnotherFFmpeg=\r\n");
    EXPECT_FALSE(rt::FileExists(Env("APPDATA") + "\\Marbex Free Video Converter\\settings.ini"));
}

TEST_F(Package, AShortClipConvertsWithTheInstalledEncoder) {
    ConvertsWith(InstallFolder() + "ffmpeg.exe", "installed");
}

TEST_F(Package, OneVersionInResourcesPackageNamesEntryAndAboutWindow) {
    const std::string v = MFVC_VERSION_TEXT;
    const std::string program = InstallFolder() + "MarbexVideoConverter.exe";
    const std::string setup = DistFile("-setup.exe");
    const std::string uninstaller = InstallFolder() + "uninstall.exe";
    ASSERT_TRUE(rt::FileExists(DistFile("-portable.zip")));
    for (const std::string& file : {program, setup, uninstaller}) {
        EXPECT_EQ(VersionValue(file, "fixed"), v + ".0/" + v + ".0") << file;
        EXPECT_EQ(VersionValue(file, "ProductVersion"), v) << file;
        EXPECT_EQ(VersionValue(file, "FileVersion"), v) << file;
        EXPECT_EQ(VersionValue(file, "ProductName"), "Marbex Free Video Converter") << file;
        EXPECT_EQ(VersionValue(file, "CompanyName"), "Marbex Software") << file;
    }
    EXPECT_EQ(RegString("DisplayVersion"), v);
    EXPECT_EQ(AboutVersion(), v);

    // The program's icon on the installer and the uninstaller.
    const auto images = IconFileImages(std::string(MFVC_SOURCE_DIR) + "/resources/pictures/program.ico");
    ASSERT_EQ(images.size(), 2u);
    for (const std::string& file : {program, setup, uninstaller}) {
        const Resources r = ReadResources(file);
        for (const std::string& image : images) EXPECT_TRUE(Contains(r.icons, image)) << file;
    }
}

TEST_F(Package, TheSilentUninstallerRemovesFolderShortcutAndKey) {
    const std::string dir = InstallFolder();
    ASSERT_TRUE(rt::FileExists(dir + "uninstall.exe"));
    // The uninstaller hands over to a copy of itself and returns at once.
    ASSERT_EQ(RunAndWait("\"" + dir + "uninstall.exe\" /S"), 0);
    const bool gone = wintest::PumpUntil(
        [&] {
            return !rt::DirectoryExists(dir) && !rt::FileExists(Shortcut()) &&
                   !KeyExists(HKEY_CURRENT_USER, kUninstallKey);
        },
        60000);
    EXPECT_TRUE(gone);
    EXPECT_FALSE(rt::DirectoryExists(dir));
    EXPECT_FALSE(rt::FileExists(Shortcut()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
}

TEST_F(Package, ThePortableZipRunsFromANewFolderWithItsSettingsBesideIt) {
    const std::string zip = DistFile("-portable.zip");
    const std::string dir = wintest::MakeCleanFolder("portable copy");
    ASSERT_TRUE(wintest::RunShell(dir, "unzip -q '" + wintest::UnixPath(zip) + "' -d '" + wintest::UnixPath(dir) + "'"));
    for (const char* f : kShippedFiles) EXPECT_TRUE(rt::FileExists(dir + f)) << f;
    StartShowAndClose(dir + "MarbexVideoConverter.exe");
    EXPECT_TRUE(rt::FileExists(dir + "settings.ini"));
    ConvertsWith(dir + "ffmpeg.exe", "portable");
}

}  // namespace
