// The Q.Wire-to-UART converter page on the simulated bus: the baud rates it writes and the texts
// it refuses, the radio interlock as the user clicks it, the switches written inverse, and the
// whole-byte application ID the scan finds on 0xFD00.

#include <map>

#include "bus/protocol.h"
#include "sensor_page_harness.h"
#include "sensors/Sensor_QWireToUARTDlg.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;
using namespace converter_ids;
using namespace converter_params;
using Body = ScriptedLine::Body;

constexpr int kConverterItem = 11;
constexpr int kPhysId = 5;
constexpr const char* kSuccess = "Successful operation！";
constexpr const char* kSelectCorrect = "Please select the correct parameters！";

class ConverterPageTest : public SensorPageTest {
  protected:
    void StartWithSimulatedConverter() {
        bus = std::make_shared<sim::Bus>();
        converter = &bus->AddDevice(*sim::FindKind("converter"), kPhysId, 3);
        StartOn(std::make_shared<SimVirtualLine>(bus), kConverterItem);
        ConfigureAndWait(page);
        Run(kRead);
    }
    // An operation from its button to the end of its progress run; what it wrote, by parameter.
    std::map<BYTE, int> Run(int button) {
        modal.Clear();
        const std::size_t first = wire->frames.size();
        EXPECT_TRUE(Click(&page, button));
        AdvanceMs(2000);
        std::map<BYTE, int> written;
        for (std::size_t i = first; i < wire->frames.size(); ++i) {
            const WrittenFrame& f = wire->frames[i];
            if (!f.poll && f.type == 0x31) written[f.param] = f.value;
            if (!f.poll) EXPECT_EQ(f.dataId & 0xFF00, 0xFD00);
        }
        return written;
    }
    bool Checked(int id) { return static_cast<CButton*>(page.GetDlgItem(id))->GetCheck() == 1; }

    CSensor_QWireToUARTDlg& page = g_sensorQWireToUART;
    std::shared_ptr<sim::Bus> bus;
    sim::Device* converter = nullptr;
};

TEST_F(ConverterPageTest, TheSixRatesWriteTheirCodesAndAnyOtherTextSendsNothing) {
    StartWithSimulatedConverter();
    struct Case {
        const char* name;
        const char* text;
        int code;  // -1: refused
    };
    const Case cases[] = {
        {"9600", "9600", 5},      {"leading blank", " 1200", 2}, {"trailing text", "1200 baud", 2},
        {"115200", "115200", -1}, {"letters alone", "fast", -1}, {"empty edit", "", -1},
        {"300", "300", 0},
    };
    for (const Case& c : cases) {
        const unsigned before = *converter->ParamValue(kBaudCode);
        ASSERT_TRUE(Type(&page, kBaudEdit, c.text));
        ASSERT_TRUE(Type(&page, kAppIdEdit, "3"));
        const std::map<BYTE, int> written = Run(kWrite);
        if (c.code >= 0) {
            EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << c.name;
            EXPECT_EQ(written.at(kBaudCode), c.code) << c.name;
            EXPECT_EQ(*converter->ParamValue(kBaudCode), unsigned(c.code)) << c.name;
        } else {
            // Code 0 would set 300 baud and cut the user's UART link.
            EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSelectCorrect}) << c.name;
            EXPECT_TRUE(written.empty()) << c.name;
            EXPECT_EQ(*converter->ParamValue(kBaudCode), before) << c.name;
            EXPECT_TRUE(Enabled(page, kWrite)) << c.name << ": the page is usable again";
        }
    }
}

TEST_F(ConverterPageTest, TheRadioInterlockFollowsTheClicksAndWriteSendsTheSwitchesInverse) {
    StartWithSimulatedConverter();
    // The converter leaves the factory with self-correct off: the Read shows it, greying nothing.
    EXPECT_TRUE(Checked(kDisableSelfCorrect));
    struct Case {
        const char* name;
        int click;
        int selfCorrect, txMode;
        bool txUsable;
    };
    const Case cases[] = {
        {"receive only turns self-correct on", kTxDisable, 0, 1, true},
        {"self-correct off forces TX on and greys TX", kDisableSelfCorrect, 1, 0, false},
        {"self-correct on frees TX as it was", kEnableSelfCorrect, 0, 0, true},
        {"receive only again", kTxDisable, 0, 1, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Click(&page, c.click)) << c.name;
        EXPECT_EQ(page.m_nSelfCorrect, c.selfCorrect) << c.name;
        EXPECT_EQ(page.m_nTxMode, c.txMode) << c.name;
        EXPECT_TRUE(Checked(c.selfCorrect ? kDisableSelfCorrect : kEnableSelfCorrect)) << c.name;
        EXPECT_TRUE(Checked(c.txMode ? kTxDisable : kTxEnable)) << c.name;
        EXPECT_EQ(Enabled(page, kTxEnable), c.txUsable) << c.name;
        EXPECT_EQ(Enabled(page, kTxDisable), c.txUsable) << c.name;
    }
    ASSERT_TRUE(Type(&page, kAppIdEdit, "20"));
    ASSERT_TRUE(Type(&page, kPhysIdEdit, "30"));
    const std::map<BYTE, int> written = Run(kWrite);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(written, (std::map<BYTE, int>{{kBaudCode, 0},
                                            {kSelfCorrect, 1},
                                            {kTxMode, 0},
                                            {bus::kParamAppId, 15},
                                            {bus::kParamPhysId, 27}}));
}

// A converter played byte for byte: outside configuration access it answers polls with a frame
// on 0xFD00 + 37; after a read request, the value of the parameter.
struct PlayedConverter {
    std::map<BYTE, int> params = {
        {bus::kParamFirmware, 0x12}, {kBaudCode, 0}, {kSelfCorrect, 1}, {kTxMode, 1}};

    std::optional<Body> operator()(const WrittenFrame& f, const std::vector<WrittenFrame>& before) {
        if (!f.poll || f.address != bus::kPhysIdTable[kPhysId]) return std::nullopt;
        const BYTE request = LastRequest(f, before).request.type;
        if (request == 0x30) return AnswerBody(BYTE(params[LastRequest(f, before).request.param]));
        if (request == 0x21 || request == 0x31) return std::nullopt;
        return Body{0x10, 37, 0xFD, 150, 0, 0, 0, 0};
    }
};

TEST_F(ConverterPageTest, TheScanFindsAWholeByteApplicationIdAndReadShowsWhatTheConverterHolds) {
    auto line = std::make_shared<ScriptedLine>();
    PlayedConverter played;
    line->answer = [&](const WrittenFrame& f, const std::vector<WrittenFrame>& before) {
        return played(f, before);
    };
    StartOn(line, kConverterItem);
    ConfigureAndWait(page);
    EXPECT_EQ(page.m_nAppId, 37);
    EXPECT_DOUBLE_EQ(page.m_dAdc1, 1.5);
    // Self-correct as the converter answers it: 1 is on, anything else off.
    for (auto [answer, selected] :
         {std::pair{0, kDisableSelfCorrect}, std::pair{1, kEnableSelfCorrect},
          std::pair{2, kDisableSelfCorrect}}) {
        played.params[kSelfCorrect] = answer;
        Run(kRead);
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess}) << answer;
        EXPECT_TRUE(Checked(selected)) << "self-correct answered " << answer;
        EXPECT_EQ(wire->Requests().back().dataId, 0xFD00 + 37);
    }
    EXPECT_STREQ(Text(page, kAppIdEdit), "37");

    // A code the page does not know empties the edit, and a Write then sends nothing.
    played.params[kBaudCode] = 7;
    Run(kRead);
    EXPECT_STREQ(Text(page, kBaudEdit), "");
    EXPECT_TRUE(Run(kWrite).empty());
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSelectCorrect});
}

}  // namespace
