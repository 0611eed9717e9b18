#pragma once
// Which option dialect the encoder speaks, from its "-version" answer. The
// libavcodec release line 57 is the one that dropped libfaac, and with it
// the old spellings of the catalogue's options.
#include <string>

namespace engine {

// The major number of the first "libavcodec  58. 35.100 / ..." line, or -1
// when the output holds none (an encoder too old to say, or no encoder).
int ParseLibavcodecMajor(const std::string& versionOutput);

bool UsesModernDialect(int libavcodecMajor);

// True when the answer has a "configuration:" line and it does not enable
// the named library ("libxvid" for "--enable-libxvid"). An answer without
// that line says nothing either way, so false.
bool ConfiguredWithout(const std::string& versionOutput, const std::string& library);

}  // namespace engine
