#pragma once
// The KXV stabilizer receiver page: six sub-pages in its own tab control, and the exchange of
// the receiver's 26 parameters over the bus (Read, Write with read-back, Default), the
// parameter file (Load, Save) and the accelerometer calibration, each on the page's timers.

#include "platform/afx.h"
#include "receivers/kxv_ids.h"
#include "receivers/kxv_parameter_file.h"

class CReceiver_KXVDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 166;
    CReceiver_KXVDlg() : CDialogEx(IDD) {}

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    const platform::MessageMap* GetMessageMap() const override;

    // The six sub-pages in the tab control, and the switch between them.
    void CreateSubPages();
    void OnTcnSelchangeTab(NMHDR* header, LRESULT* result);

    // Buttons.
    void OnBnClickedRead();
    void OnBnClickedWrite();
    void OnBnClickedDefault();
    void OnBnClickedLoad();
    void OnBnClickedSave();

    // Timers, and what each runs.
    void OnTimer(UINT_PTR id);
    void RunReadSequence();
    void ParseReadReply();
    void RunWriteSequence();
    void ParseWriteReply();
    void RunCalibrationSequence();
    void StepProgress();
    void FinishOperation();

    // The page's share of the sub-page exchange: KXV_Enable and check box 1173.
    void ExchangeEnableFlag(int mode);
    // Ends everything the page runs on the bus (a sequence, the calibration, the progress run,
    // the time-out) and gives back the controls an operation had locked.
    void StopTimers();
    // Mode 1 with 0 or 1: the Calibration button follows the port state.
    void EnableCalibrationButton(int mode, int enable);

    // The Calibration button of the calibration sub-page: enter, command, leave on timer 4.
    void StartCalibration();

    // The value held for parameter k (exchange order), wherever it lives.
    int& HeldValue(int k);
    kxv::Values HeldValues();
    // Runs the exchange on the five data-bearing sub-pages, then ExchangeEnableFlag.
    void ExchangeSubPages(int mode);

    kxv::Operation RunningOperation() const { return m_operation; }
    bool SequenceRunning() const { return m_sequenceRunning; }
    bool Calibrating() const { return m_calibrating; }

    CTabCtrl m_tabSubPages;
    CButton m_btnDefault;
    CButton m_btnLoad;
    CButton m_btnRead;
    CButton m_btnSave;
    CButton m_btnWrite;
    CProgressCtrl m_progress;
    CButton m_checkKxvEnable;

    UINT m_nReadStep = 0;
    UINT m_nWriteStep = 0;
    int m_nKxvEnable = 0;
    int m_nAckFlags[kxv::kParameterCount] = {};
    int m_nProgress = 0;
    int m_nRetryTicks = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;

  private:
    // Read, Write and Default begin alike: whatever still runs ends, the flags clear, the
    // timers start and the controls lock.
    void StartOperation(kxv::Operation operation);
    // Ends a sequence, the calibration, the progress run and the time-out; locks and unlocks
    // nothing.
    void EndEverything();
    // Load, Save, Read, Write, Default, the calibration button and the main window's tree,
    // Open button and page tab: off while an operation runs.
    void EnableControls(BOOL enable);
    // False, after telling the user, when a gain or angle edit holds no whole number.
    bool EditsHoldNumbers(const char* consequence);
    void SendRequest(BYTE type, BYTE code, BYTE value);
    void SendPoll();
    CRect SubPageRect();

    kxv::Operation m_operation = kxv::Operation::kNone;
    bool m_sequenceRunning = false;
    bool m_calibrating = false;
    int m_calibrationStep = 0;
    // The sub-pages show a whole set: after a Read that ran to its end, a Load or Default.
    bool m_valuesShown = false;
};
