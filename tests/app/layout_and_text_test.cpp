// What a user sees of every window: controls inside their dialogs, hosted pages inside their
// tab control, static texts inside their boxes and every character with a glyph.

#include <QFontDatabase>
#include <QRawFont>
#include <QWidget>
#include <set>
#include <string>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/dialog_template.h"
#include "platform/fonts.h"
#include "platform/native_controls.h"
#include "platform/static_label.h"
#include "platform/string_table.h"
#include "platform/styles.h"
#include "resources/messages.h"
#include "sensors/SensorPage.h"
#include "support/app_harness.h"

namespace {

using namespace kestrova::test;
using platform::CtrlKind;

std::string Describe(const platform::DialogTemplate& t, const platform::ControlTemplate& c) {
    return "dialog " + std::to_string(t.id) + ", control " + std::to_string(c.id) + " \"" +
           (c.text ? c.text : "") + "\"";
}

// A combo box's template height includes its drop-down list; only its field shows.
bool HeightShows(CtrlKind kind) {
    return kind != CtrlKind::ComboBox;
}

bool IsTextStatic(const platform::ControlTemplate& c) {
    DWORD type = c.style & SS_TYPEMASK;
    return c.kind == CtrlKind::Static && c.text && c.text[0] && type != SS_BITMAP &&
           type != SS_ICON;
}

class LayoutTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BindPort(3);
        StartMainWindow();
    }
};

TEST_F(LayoutTest, EveryControlLiesInsideItsDialog) {
    for (const platform::DialogTemplate* t : platform::AllDialogTemplates()) {
        const platform::BaseUnits u = platform::DialogBaseUnits(t->font, t->pointSize);
        const platform::PixelRect dialog = platform::DluToPixels(u, 0, 0, t->cx, t->cy);
        for (const platform::ControlTemplate& c : t->controls) {
            const platform::PixelRect r = platform::DluToPixels(u, c.x, c.y, c.cx, c.cy);
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.cx <= dialog.cx &&
                        (!HeightShows(c.kind) || r.y + r.cy <= dialog.cy))
                << Describe(*t, c) << " reaches past its dialog of " << dialog.cx << " x "
                << dialog.cy << " px";
        }
    }
}

// Every control of every page that `tab` hosts, and of the pages those pages host, lies inside
// the tab control less the one pixel the host keeps free on each side.
void ExpectHostedPagesFit(QWidget* tab, const QString& path) {
    const QRect area = tab->rect().adjusted(1, 1, -1, -1);
    for (QWidget* page : tab->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (platform::WidgetKind(page) != CtrlKind::Dialog) continue;
        auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(page));
        const QString name = path + " > page " + QString::number(dialog ? dialog->TemplateId() : 0);
        for (QWidget* control : page->findChildren<QWidget*>()) {
            if (platform::WidgetId(control) == 0 && platform::WidgetKind(control) == CtrlKind::Window)
                continue;  // the parts Qt builds a control from
            const QRect r(control->mapTo(tab, QPoint(0, 0)), control->size());
            EXPECT_TRUE(area.contains(r))
                << name.toStdString() << ", control " << platform::WidgetId(control) << " at "
                << r.x() << "," << r.y() << " " << r.width() << "x" << r.height()
                << " leaves the tab area " << area.width() << "x" << area.height();
            if (platform::WidgetKind(control) == CtrlKind::Tab)
                ExpectHostedPagesFit(control, name + " > tab " +
                                                  QString::number(platform::WidgetId(control)));
        }
    }
}

TEST_F(LayoutTest, EveryHostedPageFitsTheTabControl) {
    QWidget* tab = main().GetDlgItem(1001)->m_hWnd;
    int pages = 0;
    for (QWidget* page : tab->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        pages += platform::WidgetKind(page) == CtrlKind::Dialog;
    EXPECT_EQ(pages, 24);
    ExpectHostedPagesFit(tab, "main tab");
}

TEST_F(LayoutTest, StaticTextsFitTheirBoxesAndLongHintsWrapInside) {
    // Labels are sized to their text: each must show whole in the lines its height has room for.
    for (const platform::DialogTemplate* t : platform::AllDialogTemplates()) {
        const platform::BaseUnits u = platform::DialogBaseUnits(t->font, t->pointSize);
        const QFont font = platform::TemplateFont(t->font, t->pointSize);
        const QFontMetrics metrics(font);
        for (const platform::ControlTemplate& c : t->controls) {
            if (!IsTextStatic(c)) continue;
            const platform::PixelRect r = platform::DluToPixels(u, c.x, c.y, c.cx, c.cy);
            const auto lines = platform::StaticTextLines(font, r.cx, QString::fromUtf8(c.text));
            EXPECT_LE(static_cast<int>(lines.size()) * metrics.height(), r.cy + 1)
                << Describe(*t, c) << " needs " << lines.size() << " lines in " << r.cx << " x "
                << r.cy << " px";
        }
    }

    // The hint line breaks a long hint into lines no wider than itself.
    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[3]));
    CWnd* hint = g_sensorAirSpeed.GetDlgItem(sensor_ids::kHint);
    ASSERT_NE(hint, nullptr);
    const QString text = QString::fromUtf8(
        "Data Rate:    AirSpeed:    Range:100-25500ms    Default:300ms  "
        "Used to configure sensor parameters,please do not connect the receiver.");
    const QStringList lines =
        platform::StaticTextLines(hint->m_hWnd->font(), hint->m_hWnd->width(), text);
    EXPECT_GE(lines.size(), 2);
    const QFontMetricsF metrics(hint->m_hWnd->font());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), hint->m_hWnd->width() + 2.0)
            << line.toStdString();
}

// Every text the program can show: the string table, every template's caption and control
// texts, the message boxes and the sensor pages' hints.
std::vector<std::string> EveryText() {
    std::vector<std::string> texts;
    for (const auto& [id, text] : platform::AllStrings()) texts.push_back(text);
    for (const platform::DialogTemplate* t : platform::AllDialogTemplates()) {
        if (t->caption) texts.push_back(t->caption);
        for (const platform::ControlTemplate& c : t->controls)
            if (c.text && c.text[0] != '#') texts.push_back(c.text);
    }
    for (const char* m : messages::kAll) texts.push_back(m);
    const CSensorPage* pages[] = {
        &g_sensorAirSpeed,    &g_sensorCurrentH,       &g_sensorCurrentL,      &g_sensorGPS,
        &g_sensorLipoVoltage, &g_sensorRedundancyBus,  &g_sensorRPM,           &g_sensorQWireToUART,
        &g_sensorVariometer,  &g_sensorFuelKit,        &g_sensorSteeringEngine, &g_sensorReserve1,
        &g_sensorReserve2,
    };
    for (const CSensorPage* page : pages)
        for (const CSensorPage::Hint& hint : page->Hints()) texts.push_back(hint.text);
    for (const CSensorPage::Hint& hint : CSensorPage::CommonHints()) texts.push_back(hint.text);
    return texts;
}

TEST_F(LayoutTest, EveryTextHasItsGlyphsInTheProgramsFonts) {
    std::vector<QRawFont> fonts;
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : platform::ProgramFontFamilies()) {
        EXPECT_TRUE(installed.contains(family)) << family.toStdString() << " is not installed";
        QFont f(family);
        f.setPixelSize(12);
        fonts.push_back(QRawFont::fromFont(f));
    }
    std::set<char32_t> reported;
    for (const std::string& text : EveryText()) {
        for (char32_t ch : QString::fromStdString(text).toUcs4()) {
            if (ch < 0x20 || ch == ' ' || reported.count(ch)) continue;
            bool covered = false;
            for (const QRawFont& f : fonts) covered = covered || f.supportsCharacter(ch);
            if (!covered) {
                reported.insert(ch);
                ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(ch) << " of \"" << text
                              << "\" has no glyph in the program's fonts";
            }
        }
    }
}

}  // namespace
