// The KXV page's sub-pages as a user meets them: the tabs, the pictures, what the three
// exchange modes show and take, the tooltips, and the placeholder receiver pages.

#include <QWidget>

#include "kxv_page_harness.h"

namespace {

using namespace kestrova::test;
using namespace kxv;

class KxvSubPagesTest : public KxvPageTest {
  protected:
    bool Visible(CWnd& w) { return w.m_hWnd && w.IsWindowVisible(); }
};

TEST_F(KxvSubPagesTest, SixTabsEachShowingItsOwnSubPage) {
    StartOnReceiver();
    const char* const names[] = {"Wing Type",
                                 "Mounting Type",
                                 "Gain Setting",
                                 "Offset Angle Setting",
                                 "Accelerometer Calibration",
                                 "Information"};
    CDialogEx* const pages[] = {&wing,   &mounting,    &gains,
                                &angles, &calibration, &g_receiverKXV_Information};
    ASSERT_EQ(page.m_tabSubPages.GetItemCount(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(page.m_tabSubPages.GetItemText(i), names[i]);
    EXPECT_TRUE(Visible(wing));
    for (int i = 1; i < 6; ++i) EXPECT_FALSE(Visible(*pages[i])) << names[i];
    for (int shown = 5; shown >= 0; --shown) {
        ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, shown));
        for (int i = 0; i < 6; ++i) EXPECT_EQ(Visible(*pages[i]), i == shown) << names[i];
    }
    // Below the tab strip, one pixel in from the sides.
    CRect tab;
    page.m_tabSubPages.GetClientRect(&tab);
    EXPECT_EQ(wing.m_hWnd->geometry(), QRect(1, 25, tab.Width() - 2, tab.Height() - 26));
}

TEST_F(KxvSubPagesTest, UntouchedPagesShowTheFirstRadiosZerosAndEmptyDirectionLists) {
    StartOnReceiver();
    EXPECT_EQ(Checked(wing, wing_ids::kFirstRadio), BST_CHECKED);
    EXPECT_EQ(Checked(mounting, mounting_ids::kFirstRadio), BST_CHECKED);
    EXPECT_STREQ(Text(gains, Control("AutoLevelGain_Aileron")), "0");
    EXPECT_STREQ(Text(angles, Control("CrabOffsetAngle_Rudder")), "0");
    for (int id = Control("CompensationDirection_Aileron1");
         id <= Control("CompensationDirection_Rudder"); ++id)
        EXPECT_EQ(ComboSelection(id), -1) << id << ": filled, nothing chosen";
    EXPECT_EQ(kxv::ShownPicture(wing, wing_ids::kPicture), IDB_KXV_WING_NORMAL);
    EXPECT_EQ(kxv::ShownPicture(mounting, mounting_ids::kPicture), IDB_KXV_MOUNT_LEVEL);
}

TEST_F(KxvSubPagesTest, ARadioChangesThePictureAtOnceAndTheParameterOnlyWithTheNextTake) {
    StartOnReceiver();
    ASSERT_TRUE(Click(&wing, wing_ids::kFirstRadio + 2));
    EXPECT_EQ(kxv::ShownPicture(wing, wing_ids::kPicture), IDB_KXV_WING_VTAIL);
    ASSERT_TRUE(Click(&wing, wing_ids::kFirstRadio + 1));
    EXPECT_EQ(kxv::ShownPicture(wing, wing_ids::kPicture), IDB_KXV_WING_FLYING);
    EXPECT_EQ(wing.m_nWingType, 0);
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 1));
    const UINT mountingBitmaps[] = {187, 184, 186, 185};
    for (int i = 3; i >= 0; --i) {
        ASSERT_TRUE(Click(&mounting, mounting_ids::kFirstRadio + i));
        EXPECT_EQ(kxv::ShownPicture(mounting, mounting_ids::kPicture), mountingBitmaps[i]) << i;
    }
    ASSERT_TRUE(Click(&mounting, mounting_ids::kFirstRadio + 2));
    EXPECT_EQ(mounting.m_nMountingType, 0);
    page.ExchangeSubPages(2);
    EXPECT_EQ(wing.m_nWingType, 1);
    EXPECT_EQ(mounting.m_nMountingType, 2);
}

TEST_F(KxvSubPagesTest, AReadWingTypeChecksItsRadioAndThePictureFollowsOnTheNextTabChange) {
    SetReceiverValue("WingType", 2);
    StartOnReceiver();
    ReadAll();
    EXPECT_EQ(Checked(wing, wing_ids::kFirstRadio + 2), BST_CHECKED);
    EXPECT_EQ(kxv::ShownPicture(wing, wing_ids::kPicture), IDB_KXV_WING_NORMAL);
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 1));
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 0));
    EXPECT_EQ(kxv::ShownPicture(wing, wing_ids::kPicture), IDB_KXV_WING_VTAIL);
}

TEST_F(KxvSubPagesTest, TypedAnglesAndGainsAreClampedAndShownAsHeld) {
    StartOnReceiver();
    ReadAll();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 3));
    struct Typed {
        CWnd* sub;
        int id;
        const char* text;
        int k;
        int held;
        const char* shown;
    };
    const Typed typed[] = {
        {&angles, Control("AutoLevelOffsetAngle_Aileron"), "-30", 16, 108, "-20"},
        {&angles, Control("AutoLevelOffsetAngle_Elevator"), "25", 17, 148, "20"},
        {&angles, Control("CrabOffsetAngle_Rudder"), " 7", 21, 135, "7"},
        {&gains, Control("AutoLevelGain_Aileron"), "-4", 10, 0, "0"},
        {&gains, Control("CrabGain_Aileron"), "199", 14, 199, "199"},
        {&gains, Control("CrabGain_Rudder"), "250", 15, 200, "200"},
    };
    for (const Typed& t : typed) {
        ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, t.sub == &angles ? 3 : 2));
        ASSERT_TRUE(Type(t.sub, t.id, t.text)) << t.id;
    }
    const std::size_t first = wire->frames.size();
    Run(page_ids::kWrite, kWriteMs);
    for (const Typed& t : typed) {
        EXPECT_EQ(page.HeldValue(t.k), t.held) << t.text;
        EXPECT_EQ(ReceiverValue(t.k), t.held) << t.text;
        EXPECT_STREQ(Text(*t.sub, t.id), t.shown) << t.text;
    }
    bool sent108 = false;
    for (const WrittenFrame& w : OfType(Since(first), bus::kTypeWrite))
        sent108 |= w.param == Code("AutoLevelOffsetAngle_Aileron") && w.value == 108;
    EXPECT_TRUE(sent108);
}

TEST_F(KxvSubPagesTest, TheCheckBoxesFollowTheirParametersBothWays) {
    SetReceiverValue("AUX1", 1);
    SetReceiverValue("AUX2", 1);
    SetReceiverValue("QuickMode", 0);
    SetReceiverValue("KXV_Enable", 0);
    StartOnReceiver();
    ReadAll();
    EXPECT_EQ(Checked(wing, wing_ids::kAux1), BST_CHECKED);
    EXPECT_EQ(Checked(wing, wing_ids::kAux2), BST_CHECKED);
    EXPECT_EQ(Checked(wing, wing_ids::kQuickMode), BST_UNCHECKED);
    EXPECT_EQ(Checked(page, page_ids::kKxvEnable), BST_UNCHECKED);
    ASSERT_TRUE(Click(&wing, wing_ids::kAux2));
    ASSERT_TRUE(Click(&wing, wing_ids::kQuickMode));
    ASSERT_TRUE(Click(&page, page_ids::kKxvEnable));
    Run(page_ids::kWrite, kWriteMs);
    EXPECT_EQ(ReceiverValue("AUX1"), 1);
    EXPECT_EQ(ReceiverValue("AUX2"), 0);
    EXPECT_EQ(ReceiverValue("QuickMode"), 1);
    EXPECT_EQ(ReceiverValue("KXV_Enable"), 1);
}

}  // namespace
