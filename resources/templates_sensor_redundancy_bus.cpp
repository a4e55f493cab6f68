// The redundancy bus page (136): the IDs and four data rates across the top, the two batteries,
// the sixteen channels and the states of both receivers and of the SBus output below.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

// Four columns of a status label and its edit, for the receiver rows.
constexpr short kStateColumnX[] = {66, 160, 254, 348};
constexpr short kStateLabelCx = 48;

void AppendStateRow(std::vector<ControlTemplate>& c, short y,
                    const std::pair<int, const char*> (&labels)[4], const int (&edits)[4]) {
    for (int i = 0; i < 4; ++i)
        AppendLabeledEdit(c, labels[i].first, labels[i].second, edits[i], kStateColumnX[i], y,
                          kStateLabelCx, 40, kReadOnlyEditStyle);
}

// A channel row: its label, then eight status edits side by side.
void AppendChannelRow(std::vector<ControlTemplate>& c, int labelId, const char* label,
                      int firstEdit, short y) {
    c.push_back(
        {CtrlKind::Static, labelId, label, kRightLabelStyle, 12, short(y + 3), kStateLabelCx, 8});
    for (int i = 0; i < 8; ++i)
        c.push_back({CtrlKind::Edit, firstEdit + i, "", kReadOnlyEditStyle,
                     short(kStateColumnX[0] + 40 * i), y, 38, 14});
}

DialogTemplate RedundancyBusPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 7, 7, 388, 69},
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 7, 80, 388, 176},
    };
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, 80, 20, 62);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, 215, 20, 75);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, 345, 20, 40, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1139, "Battery1 Data Rate (ms)", 1086, 150, 38, 130);
    AppendLabeledEdit(c, 1140, "Battery2 Data Rate (ms)", 1087, 345, 38, 130);
    AppendLabeledEdit(c, 1141, "Capacity Data Rate (ms)", 1088, 150, 56, 130);
    AppendLabeledEdit(c, 1142, "OutputState Data Rate (ms)", 1089, 345, 56, 130);

    AppendLabeledEdit(c, 1143, "Battery1:   voltage (V)", 1090, 100, 92, 84, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1144, "current (A)", 1091, 220, 92, 64, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1145, "capacity (mAh)", 1092, 345, 92, 69, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1146, "Battery2:   voltage (V)", 1022, 100, 110, 84, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1147, "current (A)", 1019, 220, 110, 64, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1148, "capacity (mAh)", 1020, 345, 110, 69, 40, kReadOnlyEditStyle);

    AppendChannelRow(c, 1149, "Channel(1~8)", 1023, 130);
    AppendChannelRow(c, 1150, "Channel(9~16)", 1032, 148);
    AppendStateRow(
        c, 168, {{1151, "RX1:    In"}, {1152, "FailSafe"}, {1153, "LostFrame"}, {1154, "NoSignal"}},
        {1031, 1041, 1043, 1045});
    AppendStateRow(
        c, 186, {{1155, "RX2:    In"}, {1156, "FailSafe"}, {1157, "LostFrame"}, {1158, "NoSignal"}},
        {1040, 1042, 1044, 1046});
    AppendLabeledEdit(c, 1159, "RX1:    PhysicalConnectionLost", 1047, kStateColumnX[1], 204, 110,
                      40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1160, "RX2:    PhysicalConnectionLost", 1048, kStateColumnX[3], 204, 110,
                      40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1161, "SBus_Out", 1049, kStateColumnX[0], 222, kStateLabelCx, 40,
                      kReadOnlyEditStyle);

    return SensorPageTemplate(136, std::move(c),
                              {.picture = "#147",
                               .pictureX = 400,
                               .pictureCx = 199,
                               .pictureCy = 200,
                               .buttonsY = 301,
                               .infoX = 400,
                               .infoCx = 199,
                               .connectionX = 14,
                               .connectionY = 242});
}

}  // namespace

void RegisterRedundancyBusTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate redundancyBus = RedundancyBusPage();
    platform::RegisterDialogTemplate(redundancyBus);
}

}  // namespace resources
