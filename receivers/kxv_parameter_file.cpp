#include "receivers/kxv_parameter_file.h"

#include <algorithm>
#include <climits>

namespace kxv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// What one byte on the bus carries.
constexpr int kByteMax = 255;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The parameter a key names, and whether it named it by its older second key.
const Parameter* FindByKey(std::string_view key, bool& second) {
    for (const Parameter& p : kParameters) {
        if (key == p.key) {
            second = false;
            return &p;
        }
        if (!p.secondKey.empty() && key == p.secondKey) {
            second = true;
            return &p;
        }
    }
    return nullptr;
}

// Enough of a file's text to find it by, marked where it is cut.
std::string Shortened(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string out(text.substr(0, kShown));
    if (text.size() > kShown) out += "...";
    return out;
}

std::string Quoted(std::string_view text) {
    return "\"" + Shortened(text) + "\"";
}

// A number as the file writes it: the blanks before it skipped, an optional sign, the digits up
// to the first other character. Nothing when it has no digit.
std::string_view NumberText(std::string_view text) {
    std::size_t from = 0;
    while (from < text.size() && IsBlank(text[from])) ++from;
    std::size_t to = from;
    if (to < text.size() && (text[to] == '+' || text[to] == '-')) ++to;
    const std::size_t digits = to;
    while (to < text.size() && text[to] >= '0' && text[to] <= '9') ++to;
    return to == digits ? std::string_view() : text.substr(from, to - from);
}

}  // namespace

Values FactoryValues() {
    Values v{};
    for (const Parameter& p : kParameters) v[static_cast<std::size_t>(p.k)] = p.factory;
    return v;
}

std::string FormatParameterFile(const Values& values) {
    std::string out;
    for (const Parameter& p : kParameters) {
        int v = values[static_cast<std::size_t>(p.k)];
        if (p.kind == Kind::kAngle) v -= kAngleZero;
        out += p.key;
        out += ',';
        out += std::to_string(v);
        out += "\r\n";
    }
    return out;
}

bool ReadLeadingNumber(std::string_view text, int& value) {
    const std::string_view number = NumberText(text);
    if (number.empty()) return false;
    const bool negative = number.front() == '-';
    const std::size_t sign = negative || number.front() == '+' ? 1 : 0;
    long long v = 0;
    for (char c : number.substr(sign))
        v = std::min<long long>(v * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
    v = negative ? -v : v;
    value = static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    return true;
}

bool ParameterFileReader::Take(std::string_view line) {
    if (Refused()) return false;
    ++line_;
    if (line_ == 1 && line.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        line.remove_prefix(kUtf8Bom.size());
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return true;  // no key at all
    bool second = false;
    const Parameter* p = FindByKey(line.substr(0, comma), second);
    if (!p) return true;
    const std::string_view text = line.substr(comma + 1);
    const std::string where = "Line " + std::to_string(line_) + " (" + std::string(p->key) + "): ";
    int v = 0;
    if (!ReadLeadingNumber(text, v)) {
        problem_ = where + Quoted(text) + " is not a number.";
        return false;
    }
    // Under the file key an angle is in degrees; under the older key already in the bus form.
    const int shift = p->kind == Kind::kAngle && !second ? kAngleZero : 0;
    if (v < -shift || v > kByteMax - shift) {
        // As the file has it: a number beyond the int range would be named by its saturated
        // value, which the user never typed.
        problem_ = where + Shortened(NumberText(text)) + " is outside " + std::to_string(-shift) +
                   " to " + std::to_string(kByteMax - shift) + ".";
        return false;
    }
    v += shift;
    values_[static_cast<std::size_t>(p->k)] = v;
    named_.set(static_cast<std::size_t>(p->k));
    ++loaded_;
    return true;
}

bool ParameterFileReader::TakeText(std::string_view text) {
    while (!text.empty() && !Refused()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        if (end > kMaxLineBytes) {
            problem_ = "Line " + std::to_string(line_ + 1) + " is longer than " +
                       std::to_string(kMaxLineBytes) + " characters.";
            return false;
        }
        Take(text.substr(0, end));
        text.remove_prefix(end);
        // CR LF is one line end; CR alone and LF alone are one each.
        text.remove_prefix(text.substr(0, 2) == "\r\n" ? 2 : std::min<std::size_t>(text.size(), 1));
    }
    return !Refused();
}

}  // namespace kxv
