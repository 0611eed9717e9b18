#include "engine/EncoderDialect.h"

#include <utility>

#include "engine/ArgumentRewrite.h"
#include "engine/EncoderVersion.h"
#include "runtime/Strings.h"

namespace engine {

EncoderDialects::EncoderDialects(AskVersion askVersion) : askVersion_(std::move(askVersion)) {}

std::string EncoderDialects::Arguments(const std::string& encoderPath, const std::string& arguments,
                                       const std::string& outputFile) {
    return Arguments(encoderPath, arguments, outputFile, askVersion_);
}

std::string EncoderDialects::Arguments(const std::string& encoderPath, const std::string& arguments,
                                       const std::string& outputFile, const AskVersion& ask) {
    auto known = modern_.find(encoderPath);
    if (known == modern_.end()) {
        const std::optional<std::string> answer = ask(encoderPath);
        if (!answer) return arguments;
        known = modern_.emplace(encoderPath, UsesModernDialect(ParseLibavcodecMajor(*answer))).first;
    }
    return known->second ? ModernizeArguments(arguments, text::ExtractFileExt(outputFile)) : arguments;
}

}  // namespace engine
