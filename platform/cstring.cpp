#include "platform/cstring.h"

#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/string_table.h"

namespace platform {

locale_t ClassicLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return classic;
}

ClassicNumbers::ClassicNumbers() : m_previous(uselocale(ClassicLocale())) {}

ClassicNumbers::~ClassicNumbers() {
    uselocale(m_previous);
}

}  // namespace platform

namespace {
int Lower(char c) {
    return std::tolower(static_cast<unsigned char>(c));
}
bool Blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
}  // namespace

int CString::CompareNoCase(const char* other) const {
    const char* a = m_text.c_str();
    const char* b = other ? other : "";
    for (;; ++a, ++b) {
        int d = Lower(*a) - Lower(*b);
        if (d != 0 || !*a) return d < 0 ? -1 : (d > 0 ? 1 : 0);
    }
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    size_t n = std::min(static_cast<size_t>(count), m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

CString CString::Mid(int first) const {
    if (first < 0) first = 0;
    if (static_cast<size_t>(first) >= m_text.size()) return CString();
    return CString(m_text.substr(static_cast<size_t>(first)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count <= 0 || static_cast<size_t>(first) >= m_text.size()) return CString();
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || static_cast<size_t>(start) > m_text.size()) return -1;
    size_t at = m_text.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
    if (!sub || start < 0 || static_cast<size_t>(start) > m_text.size()) return -1;
    size_t at = m_text.find(sub, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const char* from, const char* to) {
    if (!from || !*from) return 0;
    std::string f(from), t(to ? to : "");
    int count = 0;
    for (size_t at = m_text.find(f); at != std::string::npos; at = m_text.find(f, at + t.size())) {
        m_text.replace(at, f.size(), t);
        ++count;
    }
    return count;
}

int CString::Remove(char ch) {
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_text.size() && Blank(m_text[i])) ++i;
    m_text.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && Blank(m_text.back())) m_text.pop_back();
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::MakeUpper() {
    for (char& c : m_text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : m_text) c = static_cast<char>(Lower(c));
    return *this;
}

void CString::FormatRaw(const char* format, ...) {
    if (!format) {
        m_text.clear();
        return;
    }
    // Numbers are written with a decimal point whatever the user's locale (the Qt application
    // adopts it): parameter texts and edits are read back by rules that know only the point.
    platform::ClassicNumbers classic;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        m_text.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        m_text.assign(buffer.data(), static_cast<size_t>(n));
    }
    va_end(args);
}

BOOL CString::LoadString(UINT id) {
    m_text = platform::LookupString(id);
    return !m_text.empty();
}

char* CString::GetBuffer(int minLength) {
    if (minLength > 0 && static_cast<size_t>(minLength) > m_text.size())
        m_text.resize(static_cast<size_t>(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    size_t length = std::strlen(m_text.c_str());
    if (newLength >= 0) length = std::min(static_cast<size_t>(newLength), m_text.size());
    m_text.resize(length);
}
