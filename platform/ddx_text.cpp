#include "platform/ddx_text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace platform {
namespace {

const char* SkipBlanks(const char* p) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    return p;
}

// The whole text is one signed decimal integer between blanks.
bool ParseLong(const char* text, long long& out) {
    if (!text) return false;
    const char* p = SkipBlanks(text);
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtoll(start, &end, 10);
    if (errno == ERANGE) return false;
    return *SkipBlanks(end) == '\0';
}

}  // namespace

bool ParseDdxInt(const char* text, int& value) {
    long long v = 0;
    if (!ParseLong(text, v) || v < std::numeric_limits<int>::min() ||
        v > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseDdxUInt(const char* text, UINT& value) {
    long long v = 0;
    if (!ParseLong(text, v) || v < 0 || v > std::numeric_limits<UINT>::max()) return false;
    value = static_cast<UINT>(v);
    return true;
}

bool ParseDdxDouble(const char* text, double& value) {
    if (!text) return false;
    const char* p = SkipBlanks(text);
    if (!*p) return false;
    errno = 0;
    char* end = nullptr;
    // The decimal point is '.', as the program writes its numbers, whatever the user's locale.
    double v = strtod_l(p, &end, ClassicLocale());
    if (end == p || errno == ERANGE || *SkipBlanks(end) != '\0') return false;
    // "nan" and "inf" are no value a field can hold: every range check would let them through.
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
}

CString FormatDdxValue(int value) {
    CString s;
    s.Format("%d", value);
    return s;
}

CString FormatDdxValue(UINT value) {
    CString s;
    s.Format("%u", value);
    return s;
}

CString FormatDdxValue(double value) {
    CString s;
    s.Format("%.15g", value);
    return s;
}

}  // namespace platform
