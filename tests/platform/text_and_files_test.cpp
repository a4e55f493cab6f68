// Text and files as the program uses them: printf formats with CString arguments, the number
// rules of data exchange, and CRLF parameter files that survive a round trip.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/cstring.h"
#include "platform/ddx_text.h"
#include "platform/file.h"

namespace {

TEST(CStringFormat, ProgramFormatsIncludingCStringArguments) {
    CString s;
    s.Format("%.d", 0);
    EXPECT_STREQ(s, "") << "\"%.d\" prints no digits for zero";
    s.Format("%.d", 17);
    EXPECT_STREQ(s, "17");
    s.Format("%.1f", 1.25);
    EXPECT_STREQ(s, "1.2");
    s.Format("%X", 0xFD0A);
    EXPECT_STREQ(s, "FD0A");
    CString port("COM10");
    s.Format("%s is %c%d", port, 'A', 3);
    EXPECT_STREQ(s, "COM10 is A3");
    s.AppendFormat(" %s", CString("more"));
    EXPECT_STREQ(s, "COM10 is A3 more");
    s.Format("%s", "温度 25℃！");
    EXPECT_STREQ(s, "温度 25℃！");
}

TEST(CStringText, SearchAndSlicesStayInsideTheText) {
    CString s("KP,12\r");
    EXPECT_EQ(s.Find(','), 2);
    EXPECT_EQ(s.Find(',', 3), -1);
    EXPECT_EQ(s.Find("12"), 3);
    EXPECT_STREQ(s.Left(2), "KP");
    EXPECT_STREQ(s.Mid(3), "12\r");
    EXPECT_STREQ(s.Mid(99), "");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Right(99), "KP,12\r");
    CString t("  x y  ");
    EXPECT_STREQ(t.Trim(), "x y");
    EXPECT_EQ(CString("abc").CompareNoCase("ABD"), -1);
}

TEST(DdxText, WhatCountsAsANumber) {
    int v = 5;
    EXPECT_TRUE(platform::ParseDdxInt(" -12 ", v));
    EXPECT_EQ(v, -12);
    for (const char* bad : {"", "   ", "12a", "a12", "1 2", "+", "99999999999", "0x10"}) {
        int keep = 5;
        EXPECT_FALSE(platform::ParseDdxInt(bad, keep)) << '"' << bad << '"';
        EXPECT_EQ(keep, 5);
    }
    UINT u = 0;
    EXPECT_FALSE(platform::ParseDdxUInt("-1", u));
    double d = 0;
    EXPECT_TRUE(platform::ParseDdxDouble(" 2.5e1 ", d));
    EXPECT_EQ(d, 25.0);
    EXPECT_FALSE(platform::ParseDdxDouble("2.5V", d));
    EXPECT_STREQ(platform::FormatDdxValue(0.1 + 0.2), "0.3");
    EXPECT_STREQ(platform::FormatDdxValue(123456789.123456789), "123456789.123457");
}

class FileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() /
            ("kestrova-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Path(const char* name) { return (dir / name).string(); }
    std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::filesystem::path dir;
};

TEST_F(FileTest, TextFilesAreWrittenWithCrlfAndReadBackWithEitherLineEnd) {
    {
        CStdioFile out(Path("p.csv").c_str(),
                       CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        out.WriteString("Roll,12\n");
        out.WriteString("Pitch,3\r\n");  // an explicit CR is not doubled
        out.WriteString("Yaw,4");
    }
    EXPECT_EQ(Bytes(Path("p.csv")), "Roll,12\r\nPitch,3\r\nYaw,4");
    CStdioFile in;
    ASSERT_TRUE(in.Open(Path("p.csv").c_str(), CFile::modeRead | CFile::typeText));
    CString line;
    std::vector<std::string> lines;
    while (in.ReadString(line)) lines.push_back(line.str());
    EXPECT_EQ(lines, (std::vector<std::string>{"Roll,12", "Pitch,3", "Yaw,4"}));

    std::ofstream(Path("unix.txt"), std::ios::binary) << "3\n5\n";
    CStdioFile unix;
    ASSERT_TRUE(unix.Open(Path("unix.txt").c_str(), CFile::modeRead | CFile::typeText));
    ASSERT_TRUE(unix.ReadString(line));
    EXPECT_STREQ(line, "3");
    ASSERT_TRUE(unix.ReadString(line));
    EXPECT_STREQ(line, "5");
    EXPECT_FALSE(unix.ReadString(line));
}

TEST_F(FileTest, FailuresCarryTheirCauseAndFileName) {
    CStdioFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(Path("missing.txt").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    try {
        CFile::Rename(Path("missing.exe").c_str(), Path("other.exe").c_str());
        FAIL() << "renaming a missing file must throw";
    } catch (CFileException* e) {
        char text[256];
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
        EXPECT_NE(std::string(text).find("missing.exe"), std::string::npos) << text;
        e->Delete();
    }
    EXPECT_THROW(
        {
            try {
                CFile::Remove(Path("missing.exe").c_str());
            } catch (CFileException* e) {
                e->Delete();
                throw std::runtime_error("thrown");
            }
        },
        std::runtime_error);
}

TEST_F(FileTest, BinaryReadWriteAndRename) {
    {
        CFile out(Path("a.bin").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        const unsigned char bytes[] = {0x7E, 0x0A, 0x0D, 0x00};
        out.Write(bytes, sizeof bytes);
    }
    std::ofstream(Path("taken.bin")) << "x";
    EXPECT_THROW(
        {
            try {
                CFile::Rename(Path("a.bin").c_str(), Path("taken.bin").c_str());
            } catch (CFileException* e) {
                e->Delete();
                throw std::runtime_error("refused");
            }
        },
        std::runtime_error)
        << "a rename never replaces an existing file";
    CFile::Rename(Path("a.bin").c_str(), Path("b.bin").c_str());
    CFile in(Path("b.bin").c_str(), CFile::modeRead | CFile::typeBinary);
    EXPECT_EQ(in.GetLength(), 4u);
    unsigned char back[8] = {};
    EXPECT_EQ(in.Read(back, sizeof back), 4u);
    EXPECT_EQ(back[2], 0x0D);
}

}  // namespace
