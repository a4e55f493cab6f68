#pragma once
// Accelerometer Calibration, tab 4 of the KXV page: six positions of the receiver, each with
// its picture, and the button that has the KXV page send the calibration command.

#include "platform/afx.h"

class CReceiver_KXV_AccelerometerCalibrationDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 172;
    static constexpr int kOrientations = 6;
    CReceiver_KXV_AccelerometerCalibrationDlg() : CDialogEx(IDD) {}

    void OnBnClickedPrevious();
    void OnBnClickedCalibration();
    void OnBnClickedNext();
    void OnPaint();
    // The picture of m_nOrientation into picture control 1190.
    void ShowOrientationPicture();
    // Mode 2 takes the controls (none are bound to values); other modes do nothing.
    void ExchangeData(int mode);
    const platform::MessageMap* GetMessageMap() const override;

    // The bitmap that shows `orientation` (any other index shows position 0).
    static UINT OrientationBitmap(int orientation);

    CButton m_btnCalibration;
    CButton m_btnNext;
    CButton m_btnPrevious;
    int m_nOrientation = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};
