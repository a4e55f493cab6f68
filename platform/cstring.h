#pragma once
// CString: the program's narrow text (UTF-8). Format takes CStrings for "%s" directly: the
// variadic front turns them into plain pointers before the printf rules see them.
// A CString must never travel through a C "..." (printf, snprintf): on this platform's calling
// convention a class object goes there by hidden reference, so "%s" would read the object, not
// its text. Pass s.GetString() there; Format and AppendFormat do that by themselves.

#include <locale.h>

#include <string>
#include <type_traits>

#include "platform/win_types.h"

class CString {
  public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const std::string& text) : m_text(text) {}
    CString(char ch, int repeat = 1) : m_text(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int i) const { return m_text.at(static_cast<size_t>(i)); }
    char operator[](int i) const { return GetAt(i); }
    void SetAt(int i, char ch) { m_text.at(static_cast<size_t>(i)) = ch; }

    CString& operator=(const char* text) {
        m_text = text ? text : "";
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_text += s.m_text;
        return *this;
    }
    CString& operator+=(const char* s) {
        m_text += s ? s : "";
        return *this;
    }
    CString& operator+=(char ch) {
        m_text += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    friend CString operator+(const CString& a, const char* b) {
        return CString(a.m_text + (b ? b : ""));
    }
    friend CString operator+(const char* a, const CString& b) {
        return CString((a ? a : "") + b.m_text);
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    int Compare(const char* other) const { return m_text.compare(other ? other : ""); }
    int CompareNoCase(const char* other) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    // A negative count gives an empty text, never the rest of the text.
    CString Mid(int first, int count) const;
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& MakeUpper();
    CString& MakeLower();

    // printf rules ("%.d", "%.1f", "%X", "%s", "%c", ...).
    template <class... Args>
    void Format(const char* format, const Args&... args) {
        FormatRaw(format, Plain(args)...);
    }
    template <class... Args>
    void AppendFormat(const char* format, const Args&... args) {
        CString more;
        more.FormatRaw(format, Plain(args)...);
        m_text += more.m_text;
    }
    void FormatRaw(const char* format, ...);

    BOOL LoadString(UINT id);

    // Room for `minLength` characters to be written through the pointer; ReleaseBuffer then
    // takes the text up to its terminator (or `newLength` characters).
    char* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

  private:
    static const char* Plain(const CString& s) { return s.GetString(); }
    static const char* Plain(const char* s) { return s; }
    template <class T>
    static T Plain(const T& v) {
        static_assert(!std::is_class_v<T>, "pass only numbers, characters, pointers and CStrings");
        return v;
    }

    std::string m_text;
};

namespace platform {

// The C rules for numbers (decimal point '.') whatever locale the process took from the user's
// environment: texts the program writes must read back by the same rules.
locale_t ClassicLocale();

// While alive, the calling thread formats and parses numbers by ClassicLocale().
class ClassicNumbers {
  public:
    ClassicNumbers();
    ~ClassicNumbers();
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

  private:
    locale_t m_previous;
};

}  // namespace platform
