#pragma once
// Which option dialect each encoder speaks. The catalogue was written for
// encoders of the libfaac era, which today's encoders refuse almost row by
// row; an encoder whose libavcodec is 57 or later therefore gets the argument
// string in today's spelling, and any other (an older one, one that does not
// answer, a program that is not the encoder at all) gets it exactly as written.
//
// Each encoder is asked for "-version" once per path and run of the program,
// before its first file, so the question costs one start of the encoder.
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace engine {

class EncoderDialects {
public:
    // The encoder's whole answer to "-version": empty when it printed nothing
    // or had to be ended; no value when it could not be started at all. That
    // last verdict is not kept, since the file may be there by the next try.
    using AskVersion = std::function<std::optional<std::string>(const std::string& encoderPath)>;

    explicit EncoderDialects(AskVersion askVersion);

    // The arguments as the encoder at encoderPath ("" for the default one)
    // takes them; the output file's extension names the container for the
    // rewrite.
    std::string Arguments(const std::string& encoderPath, const std::string& arguments,
                          const std::string& outputFile);

private:
    AskVersion askVersion_;
    struct Dialect {
        bool modern = false;
        bool libxvid = true;
    };
    std::map<std::string, Dialect> dialects_;  // by the encoder path exactly as given
};

}  // namespace engine
