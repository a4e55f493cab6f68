#pragma once
// The KXV stabilizer receiver page: six sub-pages in its own tab control, and the exchange of
// the receiver's 26 parameters over the bus (Read, Write with read-back, Default), the
// parameter file (Load, Save) and the accelerometer calibration, each on the page's timers.

#include <optional>
#include <vector>

#include "bus/request_tracker.h"
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
    // The user set parameter k on a sub-page: its value is now one they chose. What the page
    // itself puts into the controls does not count.
    void UserChose(int k);
    // The parameters whose values came from the receiver, a file or the user.
    const kxv::Marks& Known() const { return m_known; }

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
    // Ends a sequence, the calibration, the progress run and the time-out, sending the leave
    // frame first where configuration access was entered; locks and unlocks nothing.
    void EndEverything();
    // Load, Save, Read, Write, Default, the calibration button and the main window's tree,
    // Open button and page tab: off while an operation runs.
    void EnableControls(BOOL enable);
    // False, after telling the user, when a gain or angle edit holds no whole number.
    bool EditsHoldNumbers(const char* consequence);
    // Sends a request; `step`, the step of the running sequence that sends it, is where the
    // sequence goes back to should the receiver not hear it as written.
    void SendRequest(BYTE type, BYTE code, BYTE value, int step);
    void SendPoll();
    // Sends again, as it was written, the first request of the running sequence that the
    // receiver did not hear; the step after it, where the sequence goes on, or nothing when
    // none is known unheard.
    std::optional<int> ResendUnheard();
    // True, with the sequence's requests forgotten, once the receiver is known to have heard
    // every one of them, its leave frame last: only then has the sequence ended.
    bool EndWhenHeard();
    CRect SubPageRect();
    // The keys of the parameters not known yet, for the user; empty when all are.
    std::string UnknownKeys() const;
    // False, after telling the user what was not done and which values are not known yet,
    // until all 26 came from the receiver, a file or the user.
    bool AllKnown(const char* consequence);

    kxv::Operation m_operation = kxv::Operation::kNone;
    bool m_sequenceRunning = false;
    bool m_calibrating = false;
    int m_calibrationStep = 0;
    // The running sequence's requests until they are known heard as written, and the
    // configuration access it entered, where the receiver polls no sensors until it leaves.
    bus::RequestTracker m_requests;
    // Whose values Write may send: each came from a Read, Default, a file or the user.
    kxv::Marks m_known;
    // A Read's answers; shown and held only once all 26 are in, so a Read cut short changes
    // nothing.
    kxv::Values m_readValues{};
    // The page is putting values into the sub-pages' controls.
    bool m_fillingControls = false;
};

namespace kxv {
// Tells the KXV page that `on` (one of its sub-pages, or the page) sits on that the user set
// parameter k.
void UserChose(CWnd& on, int k);
// The message-map entries of a sub-page's lists, check boxes and edits that tell the KXV page
// the user set a parameter (radio groups tell it from their own click handlers).
std::vector<platform::MessageMapEntry> UserChoiceEntries(Holder holder);
}  // namespace kxv
