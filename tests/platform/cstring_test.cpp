// CString as the pages use it: the printf formats of the step machines and the drive texts,
// slices of bus and file texts that must stay inside the text, UTF-8 captions, the string table.

#include "platform/cstring.h"

#include <gtest/gtest.h>

#include <clocale>
#include <stdexcept>
#include <string>

#include "platform/string_table.h"

namespace {

// Switches the process to a locale that writes "3,5"; skips when the machine has none.
class CommaLocale {
  public:
    CommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
            if (std::setlocale(LC_ALL, name)) {
                active = true;
                break;
            }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    bool active = false;
};

TEST(CStringPrintf, StepMachineAndDriveFormats) {
    CString s;
    s.Format("%.d", -7);
    EXPECT_STREQ(s, "-7");
    s.Format("%02X", 0x0A);
    EXPECT_STREQ(s, "0A");
    s.Format("%X", 0xFD00u + 0x12u);
    EXPECT_STREQ(s, "FD12");
    s.Format("%.1f", 2.0 + 0.3);
    EXPECT_STREQ(s, "2.3");
    float gigabytes = 465.76f;
    s.Format("%.2fGB.", gigabytes);
    EXPECT_STREQ(s, "465.76GB.");
    s.Format("%u %ld %c", 4000000000u, -70000L, 'Z');
    EXPECT_STREQ(s, "4000000000 -70000 Z");
}

TEST(CStringPrintf, TextArgumentsOfEveryKind) {
    char buffer[255] = "C:\\";
    const char* pointer = "KP";
    CString name("COM10");
    CString s;
    s.Format("test%s.", buffer);
    EXPECT_STREQ(s, "testC:\\.");
    s.Format("%s,%s,%s", name, pointer, "x");
    EXPECT_STREQ(s, "COM10,KP,x");
    // A text formatted into itself reads its old value, not a half-written one.
    s.Format("[%s]", s);
    EXPECT_STREQ(s, "[COM10,KP,x]");
    s.AppendFormat("%d", 5);
    s.AppendFormat("%s", s);
    EXPECT_STREQ(s, "[COM10,KP,x]5[COM10,KP,x]5");
}

TEST(CStringPrintf, LongResultsAreComplete) {
    std::string big(5000, 'k');
    CString s;
    s.Format("<%s>%d", big.c_str(), 42);
    EXPECT_EQ(s.GetLength(), 5004);
    EXPECT_EQ(s.Right(3), CString(">42"));
}

TEST(CStringPrintf, DecimalPointWhateverTheUserLocale) {
    CommaLocale comma;
    if (!comma.active) GTEST_SKIP() << "no locale with a decimal comma on this machine";
    CString s;
    s.Format("%.1f", 3.5);
    EXPECT_STREQ(s, "3.5");
    char plain[16];
    std::snprintf(plain, sizeof plain, "%.1f", 3.5);
    EXPECT_STREQ(plain, "3,5") << "the locale is in force outside Format";
}

TEST(CStringSlices, StayInsideTheText) {
    CString s("WingType,3");
    EXPECT_STREQ(s.Mid(9, 5), "3");
    EXPECT_STREQ(s.Mid(4, 0), "");
    EXPECT_STREQ(s.Mid(4, -1), "") << "a negative count is no count, not the rest";
    EXPECT_STREQ(s.Mid(-3, 4), "Wing");
    EXPECT_STREQ(s.Mid(10), "");
    EXPECT_STREQ(s.Left(99), "WingType,3");
    EXPECT_STREQ(s.Right(0), "");
    EXPECT_STREQ(s.Right(-2), "");
    EXPECT_THROW(s.GetAt(10), std::out_of_range);
    EXPECT_THROW(s.SetAt(-1, 'x'), std::out_of_range);
}

TEST(CStringSlices, FindAndReverseFind) {
    CString s("a,b,,c");
    EXPECT_EQ(s.Find(','), 1);
    EXPECT_EQ(s.Find(',', 2), 3);
    EXPECT_EQ(s.Find(',', 6), -1);
    EXPECT_EQ(s.Find(',', 60), -1);
    EXPECT_EQ(s.Find(',', -1), -1);
    EXPECT_EQ(s.Find(",,"), 3);
    EXPECT_EQ(s.Find("c", 5), 5);
    EXPECT_EQ(s.Find("x"), -1);
    EXPECT_EQ(s.ReverseFind(','), 4);
    EXPECT_EQ(s.ReverseFind('x'), -1);
    EXPECT_EQ(CString().Find(','), -1);
}

TEST(CStringEdits, ReplaceRemoveTrimCase) {
    CString s("a-a-a");
    EXPECT_EQ(s.Replace("a", "aa"), 3) << "a replacement holding the pattern is not replaced again";
    EXPECT_STREQ(s, "aa-aa-aa");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Remove('-'), 2);
    EXPECT_STREQ(s, "aaaaaa");
    CString t(" \t 25℃ \r\n");
    EXPECT_STREQ(t.TrimRight(), " \t 25℃");
    EXPECT_STREQ(t.TrimLeft(), "25℃");
    CString u("kxv_Enable！");
    EXPECT_STREQ(u.MakeUpper(), "KXV_ENABLE！");
    EXPECT_STREQ(u.MakeLower(), "kxv_enable！");
}

TEST(CStringText, Utf8SurvivesAndCountsBytes) {
    CString s("温度");
    s += CString("25℃");
    s += "！";
    s += '.';
    EXPECT_STREQ(s, "温度25℃！.");
    EXPECT_EQ(s.GetLength(), 6 + 2 + 3 + 3 + 1);
    EXPECT_EQ(s.Find("℃"), 8);
    EXPECT_STREQ(s.Mid(8, 3), "℃");
    EXPECT_STREQ("°" + CString("C") + "′", "°C′");
    EXPECT_EQ(CString('-', 3), CString("---"));
    EXPECT_EQ(CString('-', -3), CString());
}

TEST(CStringText, ComparisonsAreByText) {
    CString a("COM10");
    char copy[] = "COM10";
    EXPECT_TRUE(a == copy) << "compared by content, not by pointer";
    EXPECT_TRUE(copy == a);
    EXPECT_TRUE(a != "COM1");
    EXPECT_TRUE("COM1" != a);
    EXPECT_TRUE(a < CString("COM3")) << "port names sort as text";
    EXPECT_LT(a.Compare("COM3"), 0);
    EXPECT_EQ(a.Compare("COM10"), 0);
    EXPECT_EQ(a.CompareNoCase("com10"), 0);
    EXPECT_GT(a.CompareNoCase("com1"), 0);
    EXPECT_EQ(CString().CompareNoCase(nullptr), 0);
    CString none(static_cast<const char*>(nullptr));
    EXPECT_TRUE(none.IsEmpty());
}

TEST(CStringBuffer, WrittenThroughThePointerThenReleased) {
    CString dir("old");
    char* p = dir.GetBuffer(100);
    std::snprintf(p, 100, "/home/pilot");
    dir.ReleaseBuffer();
    EXPECT_STREQ(dir, "/home/pilot");
    EXPECT_EQ(dir.GetLength(), 11);
    dir.GetBuffer(4);
    dir.ReleaseBuffer(5);
    EXPECT_STREQ(dir, "/home");
    dir.GetBuffer(0);
    dir.ReleaseBuffer(50);
    EXPECT_EQ(dir.GetLength(), 5) << "a length past the text is cut to the text";
}

TEST(CStringTable, LoadString) {
    platform::RegisterString(64001, "关于 Kestrova(&A)...");
    CString s("before");
    EXPECT_TRUE(s.LoadString(64001));
    EXPECT_STREQ(s, "关于 Kestrova(&A)...");
    EXPECT_FALSE(s.LoadString(64002));
    EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
