// The packages in dist/ as a user gets them, in a Wine prefix of their own:
// the setup program run silently (a first install, an upgrade over the
// running program, a copy that will not close, a folder holding the user's
// files, a remembered custom folder, an old Windows), the installed program,
// its encoder, the uninstaller, the portable zip, and the checksums,
// signatures, package-manager manifests and encoder source beside them.
// The clips come from the system's own encoder; archives are unpacked and
// signatures checked with the system's tools. tools/test-package.sh signs
// the packages with a throwaway certificate, named by MFVC_SIGN_CERT.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>

#include "Version.h"
#include "app/Main.h"
#include "dialogs/About.h"
#include "engine/ConvertThread.h"
#include "runtime/Strings.h"
#include "runtime/Win.h"
#include "tests/win/common/SystemTools.h"
#include "tests/win/common/WinTest.h"

using wintest::ReadTextFile;

namespace {

constexpr char kMainClass[] = "Marbex Free Video Converter Made by Marbex Software";
constexpr char kProduct[] = "Marbex Free Video Converter";
constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MarbexFreeVideoConverter";
constexpr char kOwnKey[] = "Software\\Marbex Free Video Converter";
constexpr char kFilesKey[] = "Software\\Marbex Free Video Converter\\Installed files";
constexpr char kAppKey[] = "Software\\Classes\\Applications\\MarbexVideoConverter.exe";
const char* const kShippedFiles[] = {"MarbexVideoConverter.exe", "ffmpeg.exe", "README.txt", "LICENSE.txt",
                                     "THIRD-PARTY-NOTICES.txt"};
// The setup writes these into the program's folder, and nothing else.
const char* const kInstalledFiles[] = {"MarbexVideoConverter.exe", "ffmpeg.exe", "README.txt", "LICENSE.txt",
                                       "THIRD-PARTY-NOTICES.txt", "uninstall.exe"};

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

std::string SendToLink() { return Env("APPDATA") + "\\Microsoft\\Windows\\SendTo\\Marbex Free Video Converter.lnk"; }

std::string RegText(const char* key, const char* value) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buffer;
}

// The names of a key's values, in the order the registry lists them.
std::vector<std::string> ValueNames(const char* key) {
    std::vector<std::string> names;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD n = sizeof name;
        if (RegEnumValueA(h, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, n);
    }
    RegCloseKey(h);
    return names;
}

// How many entries in this user's Apps & Features carry our name.
int OurUninstallEntries() {
    int count = 0;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallRoot, 0, KEY_READ, &h) != ERROR_SUCCESS) return 0;
    char sub[512];
    for (DWORD i = 0;; ++i) {
        DWORD n = sizeof sub;
        if (RegEnumKeyExA(h, i, sub, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string key = std::string(kUninstallRoot) + "\\" + sub;
        if (RegText(key.c_str(), "DisplayName") == kProduct) ++count;
    }
    RegCloseKey(h);
    return count;
}

DWORD EstimatedSizeKb() {
    DWORD kb = 0, size = sizeof kb;
    if (RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr, &kb, &size) !=
        ERROR_SUCCESS)
        return 0;
    return kb;
}

uint64_t InstalledBytes(const std::string& dir) {
    uint64_t bytes = 0;
    for (const char* f : kInstalledFiles) bytes += FileSize(dir + f);
    return bytes;
}

std::string WithoutLastBackslash(const std::string& dir) {
    return !dir.empty() && dir.back() == '\\' ? dir.substr(0, dir.size() - 1) : dir;
}

// What a shell script printed (stdout and stderr), then "exit=<status>".
std::string ShellOutput(const std::string& folder, const std::string& script, int timeoutMs = 120000) {
    const std::string out = folder + "shell.out";
    DeleteFileA(out.c_str());
    const std::string u = wintest::UnixPath(out);
    if (!wintest::RunShell(folder, "(\n" + script + "\n) > '" + u + "' 2>&1; echo \"exit=$?\" >> '" + u + "'",
                           timeoutMs))
        return "<the shell did not finish>";
    return ReadTextFile(out);
}

// The uninstaller run silently; it hands over to a copy of itself and
// returns at once, so this waits until the entry is gone.
void UninstallFrom(const std::string& dir) {
    ASSERT_TRUE(rt::FileExists(dir + "uninstall.exe")) << dir;
    ASSERT_EQ(RunAndWait("\"" + dir + "uninstall.exe\" /S"), 0);
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return !KeyExists(HKEY_CURRENT_USER, kUninstallKey) && !rt::FileExists(dir + "uninstall.exe"); },
        60000))
        << "the uninstaller did not finish in " << dir;
}


// A window of the program's main-window class that ignores being asked to
// close, like a copy that hangs. Its class belongs to another module of
// this process, so the program's own form class stays as it is.
class HungMainWindow {
public:
    HungMainWindow() {
        module_ = GetModuleHandleA("version.dll");
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            return m == WM_CLOSE ? 0 : DefWindowProcA(h, m, w, l);
        };
        wc.hInstance = module_;
        wc.lpszClassName = kMainClass;
        if (RegisterClassExA(&wc))
            window_ = CreateWindowExA(0, kMainClass, kProduct, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                      module_, nullptr);
    }
    ~HungMainWindow() {
        if (window_) DestroyWindow(window_);
        UnregisterClassA(kMainClass, module_);
    }
    HungMainWindow(const HungMainWindow&) = delete;
    HungMainWindow& operator=(const HungMainWindow&) = delete;
    HWND Window() const { return window_; }

private:
    HMODULE module_ = nullptr;
    HWND window_ = nullptr;
};

// A visible top-level dialog of process `pid` other than `except` whose
// texts contain `text` (any when empty); null when there is none.
HWND ProcessDialog(DWORD pid, const std::string& text, HWND except = nullptr) {
    struct Search {
        DWORD pid;
        const std::string* text;
        HWND except;
        HWND found;
    } search{pid, &text, except, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (pid != s->pid || h == s->except || !IsWindowVisible(h) || lstrcmpA(cls, "#32770") != 0) return TRUE;
            if (!s->text->empty() && wintest::DialogText(h).find(*s->text) == std::string::npos) return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program file made different, so that a setup that replaces it shows.
void MarkStale(const std::string& exe) {
    wintest::WriteTextFile(exe, ReadTextFile(exe) + "stale");
}

// The program started from `exe`: its main window appears, and closed, the
// process ends.
void StartShowAndClose(const std::string& exe) {
    wintest::ProgramRun program(exe);
    ASSERT_TRUE(program.Started()) << exe;
    HWND main = program.WindowOfClass(kMainClass, 60000);
    ASSERT_NE(main, nullptr) << "no main window from " << exe;
    EXPECT_EQ(wintest::WindowText(main), "Marbex Free Video Converter");
    EXPECT_TRUE(program.CloseAndWait(main)) << "the program did not end when its window closed";
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

// The cases run in this order, each on what the one before left: install,
// what lies beside the packages, use, upgrades, versions, uninstall, the
// setup's folder rules, an old Windows, the zip.
class Package : public testing::Test {};

TEST_F(Package, SilentSetupInstallsForThisUserWithShortcutsRegistrationAndUninstallEntry) {
    const std::string setup = DistFile("-setup.exe");
    ASSERT_TRUE(rt::FileExists(setup)) << setup << " (made by tools/package.sh)";
    ASSERT_FALSE(rt::DirectoryExists(InstallFolder())) << "the prefix is not fresh";
    ASSERT_EQ(RunAndWait("\"" + setup + "\" /S"), 0);

    const std::string dir = InstallFolder();
    for (const char* f : kInstalledFiles) EXPECT_TRUE(rt::FileExists(dir + f)) << f;
    const std::string notices = ReadTextFile(dir + "THIRD-PARTY-NOTICES.txt");
    EXPECT_NE(notices.find("\r\nffmpeg version "), std::string::npos);
    EXPECT_NE(notices.find("configuration: "), std::string::npos);
    EXPECT_NE(ReadTextFile(dir + "LICENSE.txt").find("MIT License\r\n"), std::string::npos);

    EXPECT_EQ(text::LowerAZ(ShortcutTarget(Shortcut())), text::LowerAZ(dir + "MarbexVideoConverter.exe"));
    EXPECT_EQ(text::LowerAZ(ShortcutTarget(SendToLink())), text::LowerAZ(dir + "MarbexVideoConverter.exe"))
        << "the Send to shortcut is on unless /SENDTO=0";

    EXPECT_EQ(RegString("DisplayName"), kProduct);
    EXPECT_EQ(RegString("DisplayVersion"), MFVC_VERSION_TEXT);
    EXPECT_EQ(RegString("Publisher"), "Marbex Software");
    EXPECT_EQ(RegString("DisplayIcon"), dir + "MarbexVideoConverter.exe,0");
    EXPECT_EQ(RegString("InstallLocation"), WithoutLastBackslash(dir));
    EXPECT_EQ(RegString("UninstallString"), "\"" + dir + "uninstall.exe\"");
    EXPECT_EQ(RegString("QuietUninstallString"), "\"" + dir + "uninstall.exe\" /S");
    EXPECT_NEAR(static_cast<double>(EstimatedSizeKb()), static_cast<double>(InstalledBytes(dir)) / 1024.0, 1.0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "a per-user install writes nothing for all users";

    // What the uninstaller will remove: exactly the files written.
    std::vector<std::string> recorded = ValueNames(kFilesKey);
    std::sort(recorded.begin(), recorded.end());
    std::vector<std::string> written(std::begin(kInstalledFiles), std::end(kInstalledFiles));
    std::sort(written.begin(), written.end());
    EXPECT_EQ(recorded, written);

    // "Open with": the program for the types it reads, several files in one start.
    EXPECT_EQ(RegText(kAppKey, "FriendlyAppName"), kProduct);
    const std::string open = std::string(kAppKey) + "\\shell\\open";
    EXPECT_EQ(RegText((open + "\\command").c_str(), nullptr), "\"" + dir + "MarbexVideoConverter.exe\" \"%1\"");
    EXPECT_EQ(RegText(open.c_str(), "MultiSelectModel"), "Player");
    const std::vector<std::string> types = ValueNames((std::string(kAppKey) + "\\SupportedTypes").c_str());
    for (const char* ext : {".3gp", ".aac", ".avi", ".flac", ".flv", ".m4a", ".m4v", ".mkv", ".mov", ".mp3", ".mp4",
                            ".mpeg", ".mpg", ".ogg", ".vob", ".wav", ".webm", ".wma", ".wmv"})
        EXPECT_TRUE(Contains(types, ext)) << ext;

    // It asks for no administrator rights, and its window is DPI-aware.
    const std::string manifest = ReadResources(setup).manifest;
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
              std::string::npos)
        << manifest;
}

// The sums in SHA256SUMS for every file made; a file's sum from it.
std::map<std::string, std::string> Sums(const std::string& dist) {
    std::map<std::string, std::string> sums;
    std::istringstream lines(ReadTextFile(dist + "SHA256SUMS"));
    std::string line;
    while (std::getline(lines, line))
        if (line.size() > 66 && line.compare(64, 2, "  ") == 0) sums[line.substr(66)] = line.substr(0, 64);
    return sums;
}

TEST_F(Package, ChecksumsSignaturesManifestsAndTheEncodersSourceBesideThePackages) {
    const std::string dist = DosPath(MFVC_DIST_DIR) + "\\";
    const std::string name = std::string("MarbexFreeVideoConverter-") + MFVC_VERSION_TEXT;
    const std::string work = wintest::MakeCleanFolder("beside the packages");
    const std::string setup = name + "-setup.exe", zip = name + "-portable.zip";
    const std::string source = name + "-encoder-source.tar.xz";
    const std::string winget = "Marbex.FreeVideoConverter.yaml", scoop = "marbex-free-video-converter.json";

    const std::map<std::string, std::string> sums = Sums(dist);
    std::vector<std::string> listed;
    for (const auto& [file, sum] : sums) listed.push_back(file);
    std::vector<std::string> made{setup, zip, source, winget, scoop};
    std::sort(made.begin(), made.end());
    EXPECT_EQ(listed, made);
    const std::string check = ShellOutput(work, "cd '" + wintest::UnixPath(dist) + "' && sha256sum -c SHA256SUMS");
    EXPECT_NE(check.find("exit=0"), std::string::npos) << check;

    // Signed, each: the program, the uninstaller and the setup program.
    const std::string cert = Env("MFVC_SIGN_CERT");
    ASSERT_FALSE(cert.empty()) << "tools/test-package.sh names its throwaway certificate in MFVC_SIGN_CERT";
    for (const std::string& file : {dist + setup, InstallFolder() + "MarbexVideoConverter.exe",
                                    InstallFolder() + "uninstall.exe"}) {
        const std::string verify =
            ShellOutput(work, "osslsigncode verify -CAfile '" + cert + "' -in '" + wintest::UnixPath(file) + "'");
        EXPECT_NE(verify.find("Signature verification: ok"), std::string::npos) << file << "\n" << verify;
        EXPECT_NE(verify.find("exit=0"), std::string::npos) << file << "\n" << verify;
    }

    // The package managers' manifests name this version and these files.
    auto upper = [](std::string t) {
        for (char& c : t) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return t;
    };
    ASSERT_EQ(sums.count(setup), 1u);
    ASSERT_EQ(sums.count(zip), 1u);
    const std::string yaml = ReadTextFile(dist + winget);
    for (const std::string& line :
         {"PackageVersion: " + std::string(MFVC_VERSION_TEXT) + "\n", std::string("InstallerType: nullsoft\n"),
          std::string("Scope: user\n"), std::string("Silent: /S\n"), std::string("SilentWithProgress: /S\n"),
          "InstallerSha256: " + upper(sums.at(setup)) + "\n", "/" + setup + "\n",
          std::string("InstallerReturnCode: 2\n        ReturnResponse: packageInUse\n"),
          std::string("InstallerReturnCode: 4\n        ReturnResponse: systemNotSupported\n")})
        EXPECT_NE(yaml.find(line), std::string::npos) << line << " in\n" << yaml;
    const std::string json = ReadTextFile(dist + scoop);
    for (const std::string& field : {"\"version\": \"" + std::string(MFVC_VERSION_TEXT) + "\"",
                                     "\"hash\": \"" + sums.at(zip) + "\"", "/" + zip + "\""})
        EXPECT_NE(json.find(field), std::string::npos) << field << " in\n" << json;

    // The encoder's source: every pinned source package, whole (each file
    // its .dsc names, with the sum it gives), and the script that built it.
    const std::string pinned = ReadTextFile(DosPath(MFVC_SOURCE_DIR "/build/encoder/pinned.txt"));
    std::string script = "set -e\ncd '" + wintest::UnixPath(work) + "'\nmkdir x\ntar -xJf '" +
                         wintest::UnixPath(dist + source) + "' -C x\nls x\ncd x/sources\ntest -f build-encoder.sh\n";
    std::istringstream lines(pinned);
    std::string line;
    int packages = 0;
    while (std::getline(lines, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string version = line.substr(eq + 1);
        if (const size_t colon = version.find(':'); colon != std::string::npos) version = version.substr(colon + 1);
        const std::string dsc = line.substr(0, eq) + "_" + version + ".dsc";
        script += "echo '" + dsc + "'\nawk '/^Checksums-Sha256:/{f=1;next} /^[^ ]/{f=0} f{print $1\"  \"$3}' '" + dsc +
                  "' | sha256sum -c -\n";
        ++packages;
    }
    EXPECT_GE(packages, 4) << pinned;
    const std::string unpacked = ShellOutput(work, script);
    EXPECT_NE(unpacked.find("exit=0"), std::string::npos) << unpacked;
    EXPECT_EQ(unpacked.compare(0, 8, "sources\n"), 0) << "the sources folder first: " << unpacked;
    EXPECT_EQ(unpacked.find(".dsc\n"), unpacked.find('\n', 8) - 4) << "and nothing else: " << unpacked;

    // The notices carry the GPL and name the archive; so does the README.
    const std::string notices = ReadTextFile(InstallFolder() + "THIRD-PARTY-NOTICES.txt");
    const size_t gpl = notices.find("\r\nGNU General Public License, version 2\r\n");
    ASSERT_NE(gpl, std::string::npos);
    for (const char* words : {"GNU GENERAL PUBLIC LICENSE\r\n", "Version 2, June 1991", "END OF TERMS AND CONDITIONS"})
        EXPECT_NE(notices.find(words, gpl), std::string::npos) << words;
    EXPECT_NE(notices.find(source), std::string::npos);
    EXPECT_NE(ReadTextFile(InstallFolder() + "README.txt").find(source), std::string::npos);
}

TEST_F(Package, TheInstalledProgramStartsAndClosedWritesItsSettingsBesideItself) {
    const std::string dir = InstallFolder();
    ASSERT_FALSE(rt::FileExists(dir + "settings.ini"));
    StartShowAndClose(dir + "MarbexVideoConverter.exe");
    EXPECT_EQ(ReadTextFile(dir + "settings.ini"),
              "[Options]\r\nOutputDirectory=" + dir + "\r\nOutputFormat=\r\nSameInput=0\r\nAnotherFFmpeg=\r\n");
    EXPECT_FALSE(rt::FileExists(Env("APPDATA") + "\\Marbex Free Video Converter\\settings.ini"));
}

TEST_F(Package, ACopyThatDoesNotCloseStopsTheSilentSetupBeforeItChangesAnything) {
    const std::string dir = InstallFolder();
    const std::string exe = dir + "MarbexVideoConverter.exe";
    MarkStale(exe);
    const std::string before = ReadTextFile(exe);
    HungMainWindow hung;
    ASSERT_NE(hung.Window(), nullptr);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(RunAndWait("\"" + DistFile("-setup.exe") + "\" /S"), 2);
    EXPECT_GE(GetTickCount64() - start, 9900u) << "it gives the copy 10 s";
    EXPECT_TRUE(IsWindow(hung.Window()));
    EXPECT_EQ(ReadTextFile(exe), before) << "the program was replaced";
}

TEST_F(Package, TheInteractiveSetupSaysACopyDidNotCloseAndTriesAgainWhenAsked) {
    const std::string exe = InstallFolder() + "MarbexVideoConverter.exe";
    MarkStale(exe);
    auto hung = std::make_unique<HungMainWindow>();
    ASSERT_NE(hung->Window(), nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    struct Setup : rt::ChildProcess {
        ~Setup() {
            if (hProcess && WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(hProcess, 1);
        }
    } pi;
    std::string line = "\"" + DistFile("-setup.exe") + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

    // Through the pages as a user goes: Next on each until Install.
    HWND setup = nullptr, page = nullptr;
    std::string pressed;
    for (int i = 0; i < 6 && pressed != "&Install"; ++i) {
        HWND next = nullptr;
        const bool ready = wintest::PumpUntil(
            [&] {
                setup = ProcessDialog(pi.dwProcessId, "");
                HWND shown = setup ? FindWindowExA(setup, nullptr, "#32770", nullptr) : nullptr;
                next = setup ? GetDlgItem(setup, IDOK) : nullptr;
                if (!shown || shown == page || !next || !IsWindowEnabled(next)) return false;
                page = shown;
                return true;
            },
            30000);
        ASSERT_TRUE(ready) << "the setup's page " << i << " did not come";
        pressed = wintest::WindowText(next);
        SendMessageA(next, BM_CLICK, 0, 0);
    }
    ASSERT_EQ(pressed, "&Install");

    HWND box = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] { return (box = ProcessDialog(pi.dwProcessId, "did not close", setup)); },
                                   60000))
        << "no word that the running copy did not close";
    EXPECT_NE(wintest::DialogText(box).find("Marbex Free Video Converter is still running"), std::string::npos)
        << wintest::DialogText(box);
    EXPECT_NE(ReadTextFile(exe).find("stale"), std::string::npos) << "replaced before the copy had closed";

    // The user closes the copy and tries again: the setup goes on.
    hung.reset();
    SendMessageA(GetDlgItem(box, IDRETRY), BM_CLICK, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
            HWND finish = GetDlgItem(setup, IDOK);
            return finish && IsWindowEnabled(finish) && wintest::WindowText(finish) == "&Finish";
        },
        60000));
    EXPECT_EQ(ReadTextFile(exe).find("stale"), std::string::npos) << "not replaced after the retry";
    EXPECT_EQ(OurUninstallEntries(), 1);
    // Finish starts the program, as its check box says; it is closed again.
    SendMessageA(GetDlgItem(setup, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    HWND program = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] { return (program = FindWindowA(kMainClass, nullptr)) != nullptr; }, 60000));
    PostMessageA(program, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wintest::PumpUntil([] { return FindWindowA(kMainClass, nullptr) == nullptr; }, 30000));
}

TEST_F(Package, AnUpgradeClosesTheRunningProgramAndReplacesItInItsFolder) {
    const std::string dir = InstallFolder();
    const std::string exe = dir + "MarbexVideoConverter.exe";
    // The folder is also the default output folder: a converted video there
    // is the user's.
    const std::string video(3 << 20, 'v');
    wintest::WriteTextFile(dir + "my video.mpg", video);
    ASSERT_TRUE(DeleteFileA((dir + "settings.ini").c_str()));
    MarkStale(exe);  // (the case before may have left it so already)
    wintest::ProgramRun program(exe);
    ASSERT_TRUE(program.WindowOfClass(kMainClass, 60000) != nullptr);

    ASSERT_EQ(RunAndWait("\"" + DistFile("-setup.exe") + "\" /S"), 0);
    EXPECT_TRUE(program.Ended()) << "the setup did not wait for the program to end";
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_TRUE(rt::FileExists(dir + "settings.ini")) << "closed the normal way, the program saves its settings";
    EXPECT_EQ(ReadTextFile(exe).find("stale"), std::string::npos) << "the program was not replaced";
    StartShowAndClose(exe);
    EXPECT_EQ(ReadTextFile(dir + "my video.mpg"), video);
    EXPECT_EQ(OurUninstallEntries(), 1);
    EXPECT_EQ(RegString("InstallLocation"), WithoutLastBackslash(dir));
    EXPECT_NEAR(static_cast<double>(EstimatedSizeKb()), static_cast<double>(InstalledBytes(dir)) / 1024.0, 1.0)
        << "only the installed files count, not the user's video";
}

TEST_F(Package, AShortClipConvertsWithTheInstalledEncoder) {
    ConvertsWith(InstallFolder() + "ffmpeg.exe", "installed");
}

TEST_F(Package, OneVersionInResourcesManifestPackageNamesEntryAndAboutWindow) {
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

    // The program's manifest: this version, and Windows 10 and 11 only.
    const std::string manifest = ReadResources(program).manifest;
    EXPECT_NE(manifest.find("name=\"Marbex.FreeVideoConverter\" version=\"" + v + ".0\""), std::string::npos)
        << manifest;
    size_t systems = 0;
    for (size_t at = manifest.find("<supportedOS "); at != std::string::npos;
         at = manifest.find("<supportedOS ", at + 1))
        ++systems;
    EXPECT_EQ(systems, 1u);
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);

    // The program's icon on the installer and the uninstaller.
    const auto images = IconFileImages(std::string(MFVC_SOURCE_DIR) + "/resources/pictures/program.ico");
    ASSERT_EQ(images.size(), 2u);
    for (const std::string& file : {program, setup, uninstaller}) {
        const Resources r = ReadResources(file);
        for (const std::string& image : images) EXPECT_TRUE(Contains(r.icons, image)) << file;
    }
}

TEST_F(Package, TheSilentUninstallerClosesTheProgramAndRemovesWhatTheSetupMadeOnly) {
    const std::string dir = InstallFolder();
    wintest::ProgramRun program(dir + "MarbexVideoConverter.exe");
    ASSERT_TRUE(program.WindowOfClass(kMainClass, 60000) != nullptr);
    UninstallFrom(dir);
    EXPECT_TRUE(program.Ended());
    EXPECT_EQ(program.ExitCode(), 0u);
    for (const char* f : kInstalledFiles) EXPECT_FALSE(rt::FileExists(dir + f)) << f;
    EXPECT_FALSE(rt::FileExists(dir + "settings.ini"));
    EXPECT_FALSE(rt::FileExists(Shortcut()));
    EXPECT_FALSE(rt::FileExists(SendToLink()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kOwnKey));
    // The user's video stays, and with it the folder.
    EXPECT_EQ(ReadTextFile(dir + "my video.mpg").size(), 3u << 20);
    ASSERT_TRUE(DeleteFileA((dir + "my video.mpg").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(dir.c_str())) << "something else was left in " << dir;
}

TEST_F(Package, AFolderHoldingTheUsersFilesGetsTheProgramsOwnSubfolder) {
    const std::string tools = wintest::MakeCleanFolder("user tools");
    const std::map<std::string, std::string> mine{
        {"ffmpeg.exe", "the user's own encoder"}, {"README.txt", "the user's readme"}, {"notes.txt", "notes"}};
    for (const auto& [file, content] : mine) wintest::WriteTextFile(tools + file, content);

    ASSERT_EQ(RunAndWait("\"" + DistFile("-setup.exe") + "\" /S /SENDTO=0 /D=" + WithoutLastBackslash(tools)), 0);
    const std::string dir = tools + kProduct + "\\";
    for (const char* f : kInstalledFiles) EXPECT_TRUE(rt::FileExists(dir + f)) << f;
    EXPECT_EQ(RegString("InstallLocation"), WithoutLastBackslash(dir));
    EXPECT_FALSE(rt::FileExists(SendToLink())) << "/SENDTO=0";
    EXPECT_TRUE(rt::FileExists(Shortcut()));
    for (const auto& [file, content] : mine) EXPECT_EQ(ReadTextFile(tools + file), content) << file;

    UninstallFrom(dir);
    EXPECT_FALSE(rt::DirectoryExists(dir));
    for (const auto& [file, content] : mine) EXPECT_EQ(ReadTextFile(tools + file), content) << file;
}

TEST_F(Package, ACustomFolderIsRememberedAndTheNextInstallUpgradesItThere) {
    const std::string custom = wintest::MakeCleanFolder("custom folder");  // empty: taken as it is
    const std::string setup = "\"" + DistFile("-setup.exe") + "\" /S";
    ASSERT_EQ(RunAndWait(setup + " /D=" + WithoutLastBackslash(custom)), 0);
    ASSERT_TRUE(rt::FileExists(custom + "MarbexVideoConverter.exe"));
    MarkStale(custom + "MarbexVideoConverter.exe");

    ASSERT_EQ(RunAndWait(setup), 0);
    EXPECT_EQ(ReadTextFile(custom + "MarbexVideoConverter.exe").find("stale"), std::string::npos)
        << "not replaced in the remembered folder";
    EXPECT_FALSE(rt::DirectoryExists(InstallFolder())) << "the upgrade went to the default folder";
    EXPECT_EQ(OurUninstallEntries(), 1);
    EXPECT_EQ(RegString("InstallLocation"), WithoutLastBackslash(custom));
    EXPECT_EQ(text::LowerAZ(ShortcutTarget(SendToLink())), text::LowerAZ(custom + "MarbexVideoConverter.exe"));

    UninstallFrom(custom);
    EXPECT_FALSE(rt::DirectoryExists(custom));
    EXPECT_FALSE(rt::FileExists(SendToLink()));
}

TEST_F(Package, WindowsOlderThan10Version1903IsRefusedWithNothingInstalled) {
    // Wine tells a program the Windows version its prefix names for it.
    const std::string setup = DistFile("-setup.exe");
    const std::string key = "Software\\Wine\\AppDefaults\\" + text::ExtractFileName(setup);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Version", REG_SZ, "win81", 6), ERROR_SUCCESS);
    const int code = RunAndWait("\"" + setup + "\" /S");
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    EXPECT_EQ(code, 4);
    EXPECT_FALSE(rt::DirectoryExists(InstallFolder()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_FALSE(rt::FileExists(Shortcut()));
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
