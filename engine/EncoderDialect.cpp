#include "engine/EncoderDialect.h"

#include <utility>

#include "engine/ArgumentRewrite.h"
#include "engine/EncoderVersion.h"
#include "runtime/Strings.h"

namespace engine {

EncoderDialects::EncoderDialects(AskVersion askVersion) : askVersion_(std::move(askVersion)) {}

std::string EncoderDialects::Arguments(const std::string& encoderPath, const std::string& arguments,
                                       const std::string& outputFile) {
    auto known = dialects_.find(encoderPath);
    if (known == dialects_.end()) {
        const std::optional<std::string> answer = askVersion_(encoderPath);
        if (!answer) return arguments;
        const Dialect dialect{UsesModernDialect(ParseLibavcodecMajor(*answer)), !ConfiguredWithout(*answer, "libxvid")};
        known = dialects_.emplace(encoderPath, dialect).first;
    }
    const Dialect& dialect = known->second;
    return dialect.modern ? ModernizeArguments(arguments, text::ExtractFileExt(outputFile), dialect.libxvid) : arguments;
}

}  // namespace engine
