#pragma once
// The catalogue's argument strings were written for encoders of the libfaac
// era; today's encoders refuse nearly all of them. ModernizeArguments turns
// such a string into the options a current encoder accepts with the same
// meaning. Each rewrite applies only where its old form appears, so a string
// that needs none comes back byte for byte as it went in.
//
// The text is split into words at blanks (and tabs) outside double quotes.
// Words that stay are kept with the blanks in front of them, doubled ones
// included, and leading and trailing blanks are kept as they are; a removed
// word takes the blanks in front of it along, and an added word gets one
// blank. Correct options matter more than blanks, so where two options
// merge into one, only the blanks in front of the first survive.
#include <string>

namespace engine {

// outputExt is the output file's extension with or without its dot; it
// tells the container when the options carry no "-f". An encoder built
// without libxvid (hasLibxvid false) gets its own MPEG-4 encoder in its place:
// the same kind of stream, under the same XVID tag where the container takes it.
std::string ModernizeArguments(const std::string& legacy, const std::string& outputExt, bool hasLibxvid = true);

}  // namespace engine
