#include "engine/ArgumentRewrite.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/Strings.h"

namespace engine {
namespace {

struct Word {
    std::string blanks;  // the blanks in front of the word
    std::string text;
    bool removed = false;
};

struct Option {
    size_t name;                  // index of the option's own word
    std::optional<size_t> value;  // index of its value's word
};

struct ArgumentText {
    std::vector<Word> words;
    std::string trailing;  // blanks after the last word
    std::vector<Option> options;
};

using Names = std::initializer_list<std::string_view>;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsNumber(std::string_view s) {
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

// "-1" is the value of "-strict", not an option; a lone "-" names a pipe.
bool IsOptionName(const std::string& s) {
    return s.size() >= 2 && s[0] == '-' && !IsNumber(s);
}

bool IsOneOf(std::string_view s, Names names) {
    return std::find(names.begin(), names.end(), s) != names.end();
}

// -aic and -mv0 were switches; a bare -trellis meant "on", so only a number
// after it is its value.
bool TakesValue(const std::string& name, const std::string& next) {
    if (IsOptionName(next) || IsOneOf(name, {"-aic", "-mv0"})) return false;
    return name != "-trellis" || IsNumber(next);
}

ArgumentText Parse(const std::string& s) {
    ArgumentText args;
    size_t i = 0;
    while (i < s.size()) {
        const size_t start = i;
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (i == s.size()) {
            args.trailing = s.substr(start);
            break;
        }
        const size_t wordStart = i;
        bool quoted = false;
        for (; i < s.size() && (quoted || !IsBlank(s[i])); ++i)
            if (s[i] == '"') quoted = !quoted;
        args.words.push_back({s.substr(start, wordStart - start), s.substr(wordStart, i - wordStart)});
    }
    for (size_t w = 0; w < args.words.size(); ++w) {
        // A word that is neither an option nor a value is left where it is.
        if (!IsOptionName(args.words[w].text)) continue;
        Option option{w, std::nullopt};
        if (w + 1 < args.words.size() && TakesValue(args.words[w].text, args.words[w + 1].text))
            option.value = ++w;
        args.options.push_back(option);
    }
    return args;
}

std::string Join(const ArgumentText& args) {
    std::string out;
    bool first = true;
    for (const Word& word : args.words) {
        if (word.removed) continue;
        // Whatever went first, the text keeps its own leading blanks.
        out += first ? args.words.front().blanks : word.blanks;
        out += word.text;
        first = false;
    }
    return out + args.trailing;
}

std::string& NameOf(ArgumentText& args, const Option& option) {
    return args.words[option.name].text;
}

std::string* ValueOf(ArgumentText& args, const Option& option) {
    return option.value ? &args.words[*option.value].text : nullptr;
}

void Remove(ArgumentText& args, const Option& option) {
    args.words[option.name].removed = true;
    if (option.value) args.words[*option.value].removed = true;
}

// "-b:v" is "-b" for one stream.
std::string_view BaseName(std::string_view name) {
    return name.substr(0, name.find(':'));
}

std::vector<Option> Named(const ArgumentText& args, Names names) {
    std::vector<Option> found;
    for (const Option& option : args.options)
        if (IsOneOf(args.words[option.name].text, names)) found.push_back(option);
    return found;
}

std::vector<Option> NamedWithValue(const ArgumentText& args, Names names) {
    std::vector<Option> found = Named(args, names);
    std::erase_if(found, [](const Option& option) { return !option.value; });
    return found;
}

// The encoder takes the last of repeated options.
std::string LastValue(ArgumentText& args, Names names) {
    const std::vector<Option> found = NamedWithValue(args, names);
    return found.empty() ? std::string() : *ValueOf(args, found.back());
}

const Names kAudioCodec = {"-acodec", "-c:a", "-codec:a"};
const Names kVideoCodec = {"-vcodec", "-c:v", "-codec:v"};

// Calls f for each item of a flag value such as "+mv4+aic" or "loop".
template <typename F>
void ForEachFlag(std::string& value, F f) {
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && (value[i] == '+' || value[i] == '-')) ++i;
        size_t end = i;
        while (end < value.size() && value[end] != '+' && value[end] != '-') ++end;
        std::string item = value.substr(i, end - i);
        if (f(item)) {
            value.replace(i, end - i, item);
            end = i + item.size();
        }
        i = end;
    }
}

bool HasFlag(std::string value, const std::string& flag) {
    bool found = false;
    ForEachFlag(value, [&](std::string& item) {
        found = found || item == flag;
        return false;
    });
    return found;
}

std::string FormatNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// "-b 1000kb": today's expression parser reads the "b" as junk.
void FixBitRateSuffixes(ArgumentText& args) {
    for (const Option& option : args.options) {
        std::string* value = ValueOf(args, option);
        if (!value || !IsOneOf(BaseName(NameOf(args, option)), {"-b", "-ab", "-maxrate", "-minrate", "-bufsize", "-bt"}))
            continue;
        if (value->size() > 2 && value->ends_with("kb") && IsNumber(std::string_view(*value).substr(0, value->size() - 2)))
            value->pop_back();
    }
}

// libfaac is gone from every current build, and the native Vorbis encoder
// is experimental. libvorbis takes -aq from -1 to 10 and clamps anything
// above to its maximum (about 500 kb/s); an old value above 10 was meant as
// an ordinary quality, so it is read in tenths.
void FixAudioCodecs(ArgumentText& args) {
    bool oldVorbis = false;
    for (const Option& option : NamedWithValue(args, kAudioCodec)) {
        std::string& value = *ValueOf(args, option);
        if (value == "libfaac") {
            value = "aac";
        } else if (value == "vorbis") {
            value = "libvorbis";
            oldVorbis = true;
        }
    }
    if (!oldVorbis) return;
    for (const Option& option : NamedWithValue(args, {"-aq", "-q:a"})) {
        std::string& value = *ValueOf(args, option);
        double quality = 0;
        const std::string_view digits = std::string_view(value).substr(value.starts_with("+") ? 1 : 0);
        const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), quality);
        if (parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size()) continue;
        if (quality > 10) value = FormatNumber(std::min(quality / 10, 10.0));
    }
}

void FixFourMotionVectorFlag(ArgumentText& args) {
    for (const Option& option : NamedWithValue(args, {"-flags"})) {
        ForEachFlag(*ValueOf(args, option), [](std::string& item) {
            if (item != "4mv") return false;
            item = "mv4";
            return true;
        });
    }
}

// A bare -trellis would take the next option as its value.
void FixBareTrellis(ArgumentText& args) {
    for (const Option& option : Named(args, {"-trellis"}))
        if (!option.value) NameOf(args, option) += " 1";
}

// Old switches that are now a flag of a flags option: -aic is "+aic" of
// -flags, -mv0 is "+mv0" of -mpv_flags. The flag joins the last such option
// (the one the encoder would use), or comes as a new one in the switch's place.
void MoveSwitchIntoFlags(ArgumentText& args, const std::string& switchName, const std::string& flagsName,
                         const std::string& flag) {
    const std::vector<Option> switches = Named(args, {switchName});
    if (switches.empty()) return;
    const std::vector<Option> flagOptions = NamedWithValue(args, {flagsName});
    for (const Option& option : switches) Remove(args, option);
    if (!flagOptions.empty()) {
        std::string& value = *ValueOf(args, flagOptions.back());
        if (!HasFlag(value, flag)) value += "+" + flag;
        return;
    }
    args.words[switches.front().name].removed = false;
    NameOf(args, switches.front()) = flagsName + " +" + flag;
}

// Several old options became one: the first keeps its place and its blanks
// and takes the new text, the others go.
void Merge(ArgumentText& args, const std::vector<Option>& old, const std::string& replacement) {
    for (const Option& option : old) Remove(args, option);
    args.words[old.front().name].removed = false;
    NameOf(args, old.front()) = replacement;
}

// The value of the last option named name among options, or "0".
std::string ValueOr0(ArgumentText& args, const std::vector<Option>& options, const std::string& name) {
    std::string value = "0";
    for (const Option& option : options)
        if (NameOf(args, option) == name) value = *ValueOf(args, option);
    return value;
}

// The crop options became the crop filter. It goes first in the video
// filter chain, so a size from -s still scales the cropped picture.
void FixCropOptions(ArgumentText& args) {
    const std::vector<Option> crops = NamedWithValue(args, {"-croptop", "-cropbottom", "-cropleft", "-cropright"});
    if (crops.empty()) return;
    const std::string top = ValueOr0(args, crops, "-croptop");
    const std::string bottom = ValueOr0(args, crops, "-cropbottom");
    const std::string left = ValueOr0(args, crops, "-cropleft");
    const std::string right = ValueOr0(args, crops, "-cropright");
    const auto any = [&](Names names) {
        return std::any_of(crops.begin(), crops.end(),
                           [&](const Option& option) { return IsOneOf(NameOf(args, option), names); });
    };
    const bool horizontal = any({"-cropleft", "-cropright"});
    const bool vertical = any({"-croptop", "-cropbottom"});
    const std::string crop = "crop=" + (horizontal ? "iw-(" + left + "+" + right + ")" : std::string("iw")) + ":" +
                             (vertical ? "ih-(" + top + "+" + bottom + ")" : std::string("ih")) + ":" + left + ":" +
                             top;
    // Only one video filter option counts, so an existing chain takes the
    // crop in front.
    const std::vector<Option> filters = NamedWithValue(args, {"-vf", "-filter:v"});
    if (!filters.empty()) {
        std::string& chain = *ValueOf(args, filters.back());
        chain.insert(chain.starts_with("\"") ? 1 : 0, crop + ",");
        for (const Option& option : crops) Remove(args, option);
        return;
    }
    Merge(args, crops, "-vf " + crop);
}

void FixDeblockOptions(ArgumentText& args) {
    const std::vector<Option> deblocks = NamedWithValue(args, {"-deblockalpha", "-deblockbeta"});
    if (deblocks.empty()) return;
    Merge(args, deblocks,
          "-deblock " + ValueOr0(args, deblocks, "-deblockalpha") + ":" + ValueOr0(args, deblocks, "-deblockbeta"));
}

// The MP4 family checks tags strictly and refuses an MPEG-4 stream tagged
// XVID; AVI, QuickTime and Matroska take it.
void FixXvidTag(ArgumentText& args, const std::string& outputExt) {
    std::string container = text::LowerAZ(LastValue(args, {"-f"}));
    if (container.empty()) {
        container = text::LowerAZ(outputExt);
        container.erase(0, container.find_first_not_of('.'));
    }
    if (!IsOneOf(container, {"mp4", "m4v", "m4a", "m4b", "ipod", "3gp", "3g2", "psp", "ismv", "isma", "f4v"})) return;
    for (const Option& option : NamedWithValue(args, {"-vtag"}))
        if (*ValueOf(args, option) == "XVID") Remove(args, option);
}

// The Xvid rows give "-bufsize 4096" in kilobits, which libxvid never used;
// the MPEG-4 encoder reads bits and refuses a buffer that small for the
// rows' maximum rate, so a bare number there gets its "k".
void ReplaceMissingXvid(ArgumentText& args) {
    bool replaced = false;
    for (const Option& option : NamedWithValue(args, kVideoCodec)) {
        if (*ValueOf(args, option) != "libxvid") continue;
        *ValueOf(args, option) = "mpeg4";
        replaced = true;
    }
    if (!replaced) return;
    for (const Option& option : NamedWithValue(args, {"-bufsize", "-bufsize:v"})) {
        std::string& value = *ValueOf(args, option);
        if (value.find_first_not_of("0123456789") == std::string::npos) value += "k";
    }
}

// The mpeg4 encoder writes -level into its header as given, and the levels
// the profiles carry make a profile header that players cannot trust.
void DropMpeg4Level(ArgumentText& args) {
    if (LastValue(args, kVideoCodec) != "mpeg4") return;
    for (const Option& option : Named(args, {"-level"})) Remove(args, option);
}

}  // namespace

std::string ModernizeArguments(const std::string& legacy, const std::string& outputExt, bool hasLibxvid) {
    ArgumentText args = Parse(legacy);
    FixBitRateSuffixes(args);
    FixAudioCodecs(args);
    FixFourMotionVectorFlag(args);
    FixBareTrellis(args);
    MoveSwitchIntoFlags(args, "-aic", "-flags", "aic");
    MoveSwitchIntoFlags(args, "-mv0", "-mpv_flags", "mv0");
    FixCropOptions(args);
    FixDeblockOptions(args);
    FixXvidTag(args, outputExt);
    if (!hasLibxvid) ReplaceMissingXvid(args);
    DropMpeg4Level(args);
    return Join(args);
}

}  // namespace engine
