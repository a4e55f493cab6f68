// The parameter file's text: what Save writes, and what the reader makes of files as they come,
// well formed or not.

#include "receivers/kxv_parameter_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kxv;

// Feeds `text` to a reader line by line as the file layer hands it over (split at LF).
ParameterFileReader ReadText(const std::string& text, const Values& start) {
    ParameterFileReader reader(start);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (!reader.Take(std::string_view(text).substr(at, end - at))) break;
        at = end + 1;
    }
    return reader;
}

Values Distinct() {
    Values v = FactoryValues();
    const int own[] = {1,   2,   0, 255, 0,   0,   255, 0,   1,   2, 3, 197, 198,
                       199, 200, 7, 108, 148, 127, 129, 140, 111, 0, 1, 1,   0};
    for (int k = 0; k < kParameterCount; ++k) v[static_cast<std::size_t>(k)] = own[k];
    return v;
}

TEST(KxvParameterFile, AfterDefaultSaveWritesThe26LinesInExchangeOrderWithCrLf) {
    const std::string expected =
        "WingType,0\r\nMountingType,0\r\nCompensationDirection_Aileron1,255\r\n"
        "CompensationDirection_Elevator1,255\r\nCompensationDirection_Rudder,255\r\n"
        "CompensationDirection_Aileron2,255\r\nCompensationDirection_Elevator2,255\r\n"
        "StabilizeGain_Aileron,50\r\nStabilizeGain_Elevator,80\r\nStabilizeGain_Rudder,100\r\n"
        "AutoLevelGain_Aileron,50\r\nAutoLevelGain_Elevator,80\r\nUprightGain_Elevator,100\r\n"
        "UprightGain_Rudder,100\r\nCrabGain_Aileron,50\r\nCrabGain_Rudder,100\r\n"
        "AutoLevelOffsetAngle_Aileron,0\r\nAutoLevelOffsetAngle_Elevator,0\r\n"
        "UprightOffsetAngle_Elevator,0\r\nUprightOffsetAngle_Rudder,0\r\n"
        "CrabOffsetAngle_Aileron,0\r\nCrabOffsetAngle_Rudder,0\r\nKXV_Enable,1\r\nAUX1,0\r\n"
        "AUX2,0\r\nQuickMode,0\r\n";
    EXPECT_EQ(FormatParameterFile(FactoryValues()), expected);
}

TEST(KxvParameterFile, WhatSaveWritesLoadsBackWhole) {
    const Values sets[] = {FactoryValues(), Distinct()};
    for (const Values& saved : sets) {
        Values start{};
        const ParameterFileReader r = ReadText(FormatParameterFile(saved), start);
        EXPECT_FALSE(r.Refused()) << r.Problem();
        EXPECT_EQ(r.Loaded(), kParameterCount);
        for (const Parameter& p : kParameters)
            EXPECT_EQ(r.values()[static_cast<std::size_t>(p.k)],
                      saved[static_cast<std::size_t>(p.k)])
                << "lost in the round trip: " << p.key;
    }
    EXPECT_NE(FormatParameterFile(Distinct()).find("AutoLevelOffsetAngle_Aileron,-20\r\n"),
              std::string::npos)
        << "angles go out in degrees";
}

// One line of a file and what it does to the values it loads onto (the factory set).
struct LineCase {
    const char* name;
    std::string line;
    int k;      // the parameter that changes, -1 for none
    int value;  // its held value afterwards
};
const LineCase kLineCases[] = {
    {"angle in degrees under its file key", "AutoLevelOffsetAngle_Aileron,-5", 16, 123},
    {"angle in the bus form under the older key", "levelComp[0],133", 16, 133},
    {"older key's angle clamped like a typed one", "levelComp[0],-5", 16, 108},
    {"second key of the rudder's gyro gain", "stabGain[2],77", 9, 77},
    {"the older key's spelling", "vertialGain[1],12", 12, 12},
    {"gain above 200 clamped", "StabilizeGain_Aileron,300", 7, 200},
    {"negative gain clamped", "CrabGain_Rudder,-1", 15, 0},
    {"angle beyond 20 degrees clamped", "CrabOffsetAngle_Rudder,45", 21, 148},
    {"huge number clamped", "UprightGain_Rudder,99999999999999999999", 13, 200},
    {"huge negative number clamped", "UprightOffsetAngle_Rudder,-99999999999999999", 19, 108},
    {"wing type out of range clamped", "WingType,7", 0, 2},
    {"mounting type below range clamped", "INSTALL_DIR,-3", 1, 0},
    {"check box value above one", "QuickMode,5", 25, 1},
    {"blank after the comma", "AUX2, 1", 24, 1},
    {"extra columns after the value", "StabilizeGain_Elevator,33,x,y", 8, 33},
    {"digits then text", "AutoLevelGain_Aileron,12abc", 10, 12},
    {"explicit plus sign", "AutoLevelGain_Elevator,+45", 11, 45},
    {"CR left at the end", "KXV_Enable,0\r", 22, 0},
    {"direction Reverse", "dirGain2[1],0", 6, 0},
    {"blank before the comma: no key", "WingType ,1", -1, 0},
    {"key in other case: no key", "wingtype,1", -1, 0},
    {"no comma: no key", "WingType 1", -1, 0},
    {"unknown key", "Trim_Aileron,5", -1, 0},
    {"empty line", "", -1, 0},
    {"the calibration code is no key", "0x9D,5", -1, 0},
};

TEST(KxvParameterFile, LinesLoadByTheirKeysAndClampLikeTypedValues) {
    for (const LineCase& c : kLineCases) {
        const Values start = FactoryValues();
        const ParameterFileReader r = ReadText(c.line, start);
        EXPECT_FALSE(r.Refused()) << c.name << ": " << r.Problem();
        Values expected = start;
        if (c.k >= 0) expected[static_cast<std::size_t>(c.k)] = c.value;
        EXPECT_EQ(r.values(), expected) << c.name;
        EXPECT_EQ(r.Loaded(), c.k >= 0 ? 1 : 0) << c.name;
    }
}

TEST(KxvParameterFile, LaterLinesWinAndMissingKeysKeepTheirValues) {
    const Values start = Distinct();
    const ParameterFileReader r =
        ReadText("StabilizeGain_Aileron,10\r\nstabGain[0],20\r\nStabilizeGain_Aileron,30", start);
    Values expected = start;
    expected[7] = 30;
    EXPECT_EQ(r.values(), expected);
}

TEST(KxvParameterFile, AUtf8ByteOrderMarkBeforeTheFirstKeyIsSkipped) {
    const ParameterFileReader r = ReadText("\xEF\xBB\xBFWingType,2\r\nMountingType,1\r\n", {});
    EXPECT_EQ(r.values()[0], 2);
    EXPECT_EQ(r.values()[1], 1);
    EXPECT_EQ(r.Loaded(), 2);
}

// Files that must be refused as a whole, and the words the reason must hold.
struct BadFile {
    const char* name;
    std::string text;
    std::vector<std::string> reason;
};
const BadFile kBadFiles[] = {
    {"text in a number field",
     "WingType,1\r\nStabilizeGain_Rudder,abc\r\n",
     {"Line 2", "StabilizeGain_Rudder", "\"abc\"", "not a number"}},
    {"a key with no value", "AUX1,\r\n", {"Line 1", "AUX1", "not a number"}},
    {"a line cut after its sign", "CrabGain_Aileron,-", {"CrabGain_Aileron"}},
    {"a direction that is neither",
     "CompensationDirection_Rudder,7",
     {"CompensationDirection_Rudder", "7", "255", "0"}},
    {"a direction under its older key", "dirGain[0],-1", {"CompensationDirection_Aileron1"}},
};

TEST(KxvParameterFile, AFileWithAValueNoParameterCanTakeIsRefusedAsAWhole) {
    for (const BadFile& f : kBadFiles) {
        const Values start = Distinct();
        const ParameterFileReader r = ReadText(f.text, start);
        EXPECT_TRUE(r.Refused()) << f.name;
        for (const std::string& word : f.reason)
            EXPECT_NE(r.Problem().find(word), std::string::npos)
                << f.name << ": \"" << r.Problem() << "\" lacks " << word;
    }
}

}  // namespace
