// Feeds arbitrary server bytes to the version file's reader: whatever the file holds, it reads a
// number without overflow, line ends never count, and a number that fits reads as atoi reads it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/version_file.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// The text as the reader joins it: "\n" and the "\r" of "\r\n" gone.
std::string WithoutLineEnds(std::string_view text) {
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        joined += text[i];
    }
    return joined;
}

// The length of the digit run atoi would read, after its blanks and sign.
std::size_t DigitRun(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i + digits < s.size() && s[i + digits] >= '0' && s[i + digits] <= '9') ++digits;
    return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int version = update::VersionFromText(text);
    const std::string joined = WithoutLineEnds(text);
    Check(update::VersionFromText(joined) == version);
    // Nine digits always fit an int, where atoi is well defined; a NUL ends both readings.
    if (DigitRun(joined) <= 9) Check(version == std::atoi(joined.c_str()));
    return 0;
}
