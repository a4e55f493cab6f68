// The parameter file's text: what Save writes, and what the reader makes of files as they come,
// well formed or not.

#include "receivers/kxv_parameter_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kxv;

ParameterFileReader ReadText(const std::string& text, const Values& start) {
    ParameterFileReader reader(start);
    reader.TakeText(text);
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
    {"older key's angle held as the byte it is", "levelComp[0],5", 16, 5},
    {"angle beyond 20 degrees held as a Read holds it", "CrabOffsetAngle_Rudder,45", 21, 173},
    {"second key of the rudder's gyro gain", "stabGain[2],77", 9, 77},
    {"the older key's spelling", "vertialGain[1],12", 12, 12},
    {"gain above 200 held as a Read holds it", "StabilizeGain_Aileron,250", 7, 250},
    {"wing type no radio shows", "WingType,7", 0, 7},
    {"mounting type no radio shows", "INSTALL_DIR,9", 1, 9},
    {"check box value above one", "QuickMode,5", 25, 5},
    {"direction neither Positive nor Reverse", "CompensationDirection_Rudder,7", 4, 7},
    {"blank after the comma", "AUX2, 1", 24, 1},
    {"extra columns after the value", "StabilizeGain_Elevator,33,x,y", 8, 33},
    {"digits then text", "AutoLevelGain_Aileron,12abc", 10, 12},
    {"explicit plus sign", "AutoLevelGain_Elevator,+45", 11, 45},
    {"CR LF at the end", "KXV_Enable,0\r\n", 22, 0},
    {"direction Reverse", "dirGain2[1],0", 6, 0},
    {"blank before the comma: no key", "WingType ,1", -1, 0},
    {"key in other case: no key", "wingtype,1", -1, 0},
    {"no comma: no key", "WingType 1", -1, 0},
    {"unknown key", "Trim_Aileron,5", -1, 0},
    {"empty line", "", -1, 0},
    {"the calibration code is no key", "0x9D,5", -1, 0},
};

TEST(KxvParameterFile, LinesLoadByTheirKeysAsAReadHoldsTheSameByte) {
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
    {"a gain no byte carries", "StabilizeGain_Aileron,256", {"Line 1", "256", "0 to 255"}},
    {"a type below its byte", "INSTALL_DIR,-3", {"MountingType", "-3"}},
    {"an angle in degrees beyond the byte", "CrabOffsetAngle_Rudder,128", {"-128 to 127"}},
    {"a number beyond any int",
     "UprightGain_Rudder,99999999999999999999",
     {"UprightGain_Rudder", "99999999999999999999 is outside 0 to 255"}},
    {"lines counted at CR line ends", "AUX1,1\rAUX2,x\r", {"Line 2", "AUX2"}},
    {"a line longer than the bound",
     "AUX1,1\n\n" + std::string(kMaxLineBytes + 1, ','),
     {"Line 3", "longer than"}},
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
