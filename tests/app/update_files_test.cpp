// What the update reads from the server: the version file's number and whether a downloaded
// file is a whole program for this machine.

#include <elf.h>
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/executable_image.h"
#include "app/version_file.h"

namespace {

using update::ImageVerdict;

struct VersionCase {
    const char* name;
    std::string text;
    int number;
};

TEST(VersionFile, LinesJoinAndReadAsOneNumber) {
    const VersionCase cases[] = {
        {"one number", "32", 32},
        {"with its line end", "32\r\n", 32},
        {"two lines make one number", "3\n5\n", 35},
        {"two lines with CRLF", "3\r\n5\r\n", 35},
        {"leading blanks and a sign", "  +32", 32},
        {"a negative number", "-40", -40},
        {"letters only", "new version", 0},
        {"digits up to the first letter", "33beta", 33},
        {"empty", "", 0},
        {"a lone CR stays and ends the digits", "3\r5", 3},
        {"beyond int stays at its end", "99999999999999999999999", INT_MAX},
        {"below int stays at its end", "-99999999999999999999999", INT_MIN},
        {"the largest int", "2147483647", INT_MAX},
        {"the smallest int", "-2147483648", INT_MIN},
        {"a line of four thousand digits", std::string(4000, '9'), INT_MAX},
    };
    for (const VersionCase& c : cases)
        EXPECT_EQ(update::VersionFromText(c.text), c.number) << c.name;
}

std::vector<std::uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A real program of this build: the tiny one the update tests install.
std::vector<std::uint8_t> ThisMachinesProgram() {
    return ReadFile(KESTROVA_UPDATE_MARKER);
}

struct ImageCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    ImageVerdict verdict;
};

TEST(ExecutableImage, OnlyAWholeProgramForThisMachinePasses) {
    const std::vector<std::uint8_t> program = ThisMachinesProgram();
    ASSERT_GT(program.size(), 1000u);
    auto with = [&](auto change) {
        std::vector<std::uint8_t> b = program;
        change(b);
        return b;
    };
    const std::string script = "#!/bin/sh\necho new version\n";
    const ImageCase cases[] = {
        {"this build's program", program, ImageVerdict::kRunnable},
        {"empty", {}, ImageVerdict::kEmpty},
        {"a shell script", {script.begin(), script.end()}, ImageVerdict::kNotElf},
        {"a Windows executable", {'M', 'Z', 0x90, 0, 3, 0}, ImageVerdict::kNotElf},
        {"only the magic", {0x7F, 'E', 'L', 'F'}, ImageVerdict::kIncomplete},
        {"cut in its header", {program.begin(), program.begin() + 40}, ImageVerdict::kIncomplete},
        {"cut in half",
         {program.begin(), program.begin() + program.size() / 2},
         ImageVerdict::kIncomplete},
        {"one byte short", {program.begin(), program.end() - 1}, ImageVerdict::kIncomplete},
        {"another processor", with([](auto& b) { b[offsetof(Elf64_Ehdr, e_machine)] ^= 0x55; }),
         ImageVerdict::kOtherPlatform},
        {"the other word size", with([](auto& b) { b[EI_CLASS] ^= 3; }),
         ImageVerdict::kOtherPlatform},
        {"the other byte order", with([](auto& b) { b[EI_DATA] ^= 3; }),
         ImageVerdict::kOtherPlatform},
        {"an object file", with([](auto& b) { b[offsetof(Elf64_Ehdr, e_type)] = ET_REL; }),
         ImageVerdict::kNotAProgram},
        {"a core dump", with([](auto& b) { b[offsetof(Elf64_Ehdr, e_type)] = ET_CORE; }),
         ImageVerdict::kNotAProgram},
        {"a shared library", ReadFile(KESTROVA_UPDATE_LIBRARY), ImageVerdict::kNotAProgram},
        {"marked for another system", with([](auto& b) { b[EI_OSABI] = ELFOSABI_FREEBSD; }),
         ImageVerdict::kOtherPlatform},
        // As the linker marks a program that uses one of the loader's extensions.
        {"marked GNU", with([](auto& b) { b[EI_OSABI] = ELFOSABI_GNU; }), ImageVerdict::kRunnable},
    };
    for (const ImageCase& c : cases)
        EXPECT_EQ(update::CheckExecutableImage(c.bytes), c.verdict) << c.name;
}

TEST(ExecutableImage, AFileThatCannotBeReadCountsAsEmpty) {
    EXPECT_EQ(update::CheckExecutableFile("/nonexistent-kestrova/NewSoftware.exe"),
              ImageVerdict::kEmpty);
    EXPECT_EQ(update::CheckExecutableFile(KESTROVA_UPDATE_MARKER), ImageVerdict::kRunnable);
}

}  // namespace
