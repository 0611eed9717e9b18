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

}  // namespace engine
