#include "app/version_file.h"

#include <climits>
#include <string>

namespace update {

int VersionFromText(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        joined += text[i];
    }
    std::size_t i = 0;
    // atoi's blanks: space and the control characters \t \n \v \f \r.
    while (i < joined.size() && (joined[i] == ' ' || (joined[i] >= '\t' && joined[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < joined.size() && (joined[i] == '+' || joined[i] == '-')) negative = joined[i++] == '-';
    // Counted in the negative range, which holds INT_MIN as well as every positive int.
    long long value = 0;
    for (; i < joined.size() && joined[i] >= '0' && joined[i] <= '9'; ++i) {
        value = value * 10 - (joined[i] - '0');
        if (value < INT_MIN) return negative ? INT_MIN : INT_MAX;
    }
    if (negative) return static_cast<int>(value);
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

}  // namespace update
