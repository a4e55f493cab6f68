#include "receivers/Receiver_KXV_AccelerometerCalibrationDlg.h"

#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_ids.h"
#include "receivers/kxv_picture.h"
#include "resources/resource_ids.h"

using namespace kxv;

const platform::MessageMap* CReceiver_KXV_AccelerometerCalibrationDlg::GetMessageMap() const {
    using Self = CReceiver_KXV_AccelerometerCalibrationDlg;
    static const platform::MessageMap map{
        CDialogEx::ThisMessageMap(),
        {
            platform::OnBnClicked(calibration_ids::kPrevious, &Self::OnBnClickedPrevious),
            platform::OnBnClicked(calibration_ids::kCalibration, &Self::OnBnClickedCalibration),
            platform::OnBnClicked(calibration_ids::kNext, &Self::OnBnClickedNext),
            platform::OnWmPaint(&Self::OnPaint),
        }};
    return &map;
}

void CReceiver_KXV_AccelerometerCalibrationDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, calibration_ids::kCalibration, m_btnCalibration);
    DDX_Control(dx, calibration_ids::kNext, m_btnNext);
    DDX_Control(dx, calibration_ids::kPrevious, m_btnPrevious);
}

UINT CReceiver_KXV_AccelerometerCalibrationDlg::OrientationBitmap(int orientation) {
    // Positions 2 and 3 stand on the case's two ends; one mapping serves the buttons, the
    // repaint and the tab change alike.
    static constexpr UINT kBitmaps[kOrientations] = {
        IDB_KXV_CAL_FLAT,      IDB_KXV_CAL_UPSIDE_DOWN, IDB_KXV_CAL_NOSE_UP,
        IDB_KXV_CAL_NOSE_DOWN, IDB_KXV_CAL_RIGHT_SIDE,  IDB_KXV_CAL_LEFT_SIDE,
    };
    if (orientation < 0 || orientation >= kOrientations) return IDB_KXV_CAL_FLAT;
    return kBitmaps[orientation];
}

void CReceiver_KXV_AccelerometerCalibrationDlg::ShowOrientationPicture() {
    ShowPicture(*this, calibration_ids::kPicture, OrientationBitmap(m_nOrientation));
}

void CReceiver_KXV_AccelerometerCalibrationDlg::OnBnClickedNext() {
    m_nOrientation += 1;
    if (m_nOrientation > kOrientations - 1) m_nOrientation = 0;
    ShowOrientationPicture();
}

void CReceiver_KXV_AccelerometerCalibrationDlg::OnBnClickedPrevious() {
    m_nOrientation -= 1;
    if (m_nOrientation < 0) m_nOrientation = kOrientations - 1;
    ShowOrientationPicture();
}

void CReceiver_KXV_AccelerometerCalibrationDlg::OnBnClickedCalibration() {
    // The KXV page runs the exchange: button, this sub-page, the sub-page tab, the page.
    CWnd* tab = m_btnCalibration.GetParent() ? m_btnCalibration.GetParent()->GetParent() : nullptr;
    if (auto* page = dynamic_cast<CReceiver_KXVDlg*>(tab ? tab->GetParent() : nullptr))
        page->StartCalibration();
}

void CReceiver_KXV_AccelerometerCalibrationDlg::OnPaint() {
    CPaintDC dc(this);
    ShowOrientationPicture();
}

void CReceiver_KXV_AccelerometerCalibrationDlg::ExchangeData(int mode) {
    if (mode == 2) UpdateData(TRUE);
}
