// testencoder.exe: stands in for the encoder in the Windows tests. It is
// started exactly like the real one,
//
//     "...\testencoder.exe" [-y ]-i "SCRIPT" <arguments> "OUTPUT"
//
// and the file given after -i is not media but a script of what to do. The
// last argument is the output file; everything between is ignored.
//
// Script language: one command per line, run in order. A line's trailing CR
// is dropped, so scripts may use either line end. Empty lines and lines that
// begin with "#" are skipped. The command is the first word; its text is
// everything after the one blank that follows it, leading blanks included.
//
//   out <text>     write text to standard output
//   err <text>     write text to standard error
//                  Escapes: \r \n \t \0 (a zero byte) and \\; any other
//                  backslash stays as written. No line end is added: write
//                  "\r\n", "\n" or a lone "\r" yourself. Each write goes
//                  straight to the pipe, so the reader sees it at once; a
//                  pause (sleep) between two writes makes them two chunks.
//   sleep <ms>     pause
//   create         create or overwrite OUTPUT with a few bytes
//   hold <ms>      open OUTPUT (created if missing) for reading and writing
//                  with no sharing, keep it open that long, then close it
//   cmdline <path> write the command line this program received
//                  (GetCommandLineA) to the file path, with no line end
//   append <path>  add that command line and a CR LF to the end of the file
//                  path (made if missing): one line per run
//   await <path>   wait until the file path exists (the test lets the run
//                  go on by making it)
//   exit <code>    end now with that exit code
//   hang           sleep for ever (the test ends the process)
//   crash          write to address 0: the process ends with the access
//                  violation status 0xC0000005 as its exit code
//   ask <text>     write text to standard error, read standard input until
//                  end-of-file (or a read error), then end with code 1, as
//                  an encoder waiting for an answer it never gets
//   spawn <path>   start a second copy of this program that inherits every
//                  inheritable handle and sleeps for ever, and write its
//                  process id in decimal to the file path
//   flood <MB>     write that many megabytes of 100-byte lines (no progress
//                  lines) to standard error
//
// Without an exit command the program ends with code 0 after the last line.
// Exit codes of its own: 97 no readable script (no -i, or the file cannot be
// read), 98 a file command could not open its file, 99 an unknown command.
//
// "-sleep" without -i: sleeps for ever (the copy that spawn starts).
//
// "-version" without -i: runs the script that the environment variable
// MFVC_TESTENCODER_VERSION_SCRIPT names, when it is set (there is no OUTPUT
// then); otherwise prints the environment variable MFVC_TESTENCODER_VERSION
// (escapes as above) and exits 0, or, when that is not set either, prints
// nothing and exits 1 (an encoder that cannot tell).
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int NoScript = 97;
constexpr int FileFailed = 98;
constexpr int UnknownCommand = 99;

std::string Unescape(const std::string& s) {
    std::string result;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            result += s[i];
            continue;
        }
        switch (s[i + 1]) {
            case 'r': result += '\r'; break;
            case 'n': result += '\n'; break;
            case 't': result += '\t'; break;
            case '0': result += '\0'; break;
            case '\\': result += '\\'; break;
            default: result += s[i]; continue;
        }
        ++i;
    }
    return result;
}

// Straight to the handle, unbuffered: the reader sees each write as soon as
// it is made. A missing standard handle just swallows the text.
void Write(DWORD which, const std::string& s) {
    const HANDLE h = GetStdHandle(which);
    DWORD written = 0;
    if (h != nullptr && h != INVALID_HANDLE_VALUE && !s.empty())
        WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

class File {
public:
    File(const std::string& path, DWORD access, DWORD disposition)
        : h_(CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~File() {
        if (ok()) CloseHandle(h_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Write(const std::string& s) {
        DWORD written = 0;
        return WriteFile(h_, s.data(), static_cast<DWORD>(s.size()), &written, nullptr) &&
               written == s.size();
    }

private:
    HANDLE h_;
};

bool WriteWholeFile(const std::string& path, const std::string& content) {
    File f(path, GENERIC_WRITE, CREATE_ALWAYS);
    return f.ok() && f.Write(content);
}

DWORD Milliseconds(const std::string& s) {
    return static_cast<DWORD>(std::strtoul(s.c_str(), nullptr, 10));
}

int RunScript(const std::string& scriptPath, const std::string& outputPath) {
    std::ifstream script(scriptPath, std::ios::binary);
    if (!script) return NoScript;
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t blank = line.find(' ');
        const std::string command = line.substr(0, blank);
        const std::string arg = blank == std::string::npos ? std::string() : line.substr(blank + 1);

        if (command == "out") {
            Write(STD_OUTPUT_HANDLE, Unescape(arg));
        } else if (command == "err") {
            Write(STD_ERROR_HANDLE, Unescape(arg));
        } else if (command == "sleep") {
            Sleep(Milliseconds(arg));
        } else if (command == "create") {
            if (!WriteWholeFile(outputPath, "testencoder output\r\n")) return FileFailed;
        } else if (command == "hold") {
            File held(outputPath, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
            if (!held.ok()) return FileFailed;
            Sleep(Milliseconds(arg));
        } else if (command == "cmdline") {
            if (!WriteWholeFile(arg, GetCommandLineA())) return FileFailed;
        } else if (command == "append") {
            File log(arg, FILE_APPEND_DATA, OPEN_ALWAYS);
            if (!log.ok() || !log.Write(std::string(GetCommandLineA()) + "\r\n")) return FileFailed;
        } else if (command == "await") {
            while (GetFileAttributesA(arg.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(20);
        } else if (command == "exit") {
            return std::atoi(arg.c_str());
        } else if (command == "hang") {
            for (;;) Sleep(INFINITE);
        } else if (command == "crash") {
            // No crash dialog and no debugger: the process ends with the
            // status, as an unattended crash does.
            SetErrorMode(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
            SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* e) -> LONG {
                TerminateProcess(GetCurrentProcess(), e->ExceptionRecord->ExceptionCode);
                return EXCEPTION_EXECUTE_HANDLER;
            });
            *static_cast<volatile int*>(nullptr) = 1;
        } else if (command == "ask") {
            Write(STD_ERROR_HANDLE, Unescape(arg));
            char buffer[256];
            DWORD got = 0;
            while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0) {
            }
            return 1;
        } else if (command == "spawn") {
            char self[MAX_PATH];
            GetModuleFileNameA(nullptr, self, MAX_PATH);
            std::string line = "\"" + std::string(self) + "\" -sleep";
            STARTUPINFOA si{};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi{};
            if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
                return FileFailed;
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            if (!WriteWholeFile(arg, std::to_string(pi.dwProcessId))) return FileFailed;
        } else if (command == "flood") {
            const std::string line(98, 'x');
            std::string block;
            for (int i = 0; i < 100; ++i) block += line + "\r\n";  // 10,000 bytes
            const long long blocks = std::atoll(arg.c_str()) * 1000000 / 10000;
            for (long long i = 0; i < blocks; ++i) Write(STD_ERROR_HANDLE, block);
        } else {
            return UnknownCommand;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string scriptPath;
    bool hasScript = false;
    bool askedVersion = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-sleep") {
            for (;;) Sleep(INFINITE);
        }
        if (arg == "-i" && i + 1 < argc) {
            scriptPath = argv[++i];
            hasScript = true;
        } else if (arg == "-version") {
            askedVersion = true;
        }
    }

    if (!hasScript) {
        if (!askedVersion) return NoScript;
        if (const char* versionScript = std::getenv("MFVC_TESTENCODER_VERSION_SCRIPT"))
            return RunScript(versionScript, "");
        const char* version = std::getenv("MFVC_TESTENCODER_VERSION");
        if (!version) return 1;
        Write(STD_OUTPUT_HANDLE, Unescape(version));
        return 0;
    }
    // The output is the last argument, unless the script was last.
    const std::string outputPath = argc > 3 && std::string(argv[argc - 2]) != "-i" ? argv[argc - 1] : "";
    return RunScript(scriptPath, outputPath);
}
