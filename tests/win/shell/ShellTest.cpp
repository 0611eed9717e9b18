#include "tests/win/shell/ShellTest.h"

#include "tests/win/common/WinTest.h"

namespace shelltest {

std::string TestEncoder() { return wintest::TestProgramFolder() + "testencoder.exe"; }

std::string ConvertingScript(const std::string& gate) {
    std::string script = gate.empty() ? std::string() : "await " + gate + "\n";
    script += "err   Duration: 00:00:02.00, start: 0.000000, bitrate: 1205 kb/s\\r\\n\n";
    script += "err frame=   12 fps=0.0 q=2.0 size=     100kB time=00:00:01.00 bitrate= 202.1kbits/s\\r\n";
    script += "sleep 50\n";
    script += "create\n";
    return script;
}

void Open(const std::string& gate) { wintest::WriteTextFile(gate, "go"); }

std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

}  // namespace shelltest
