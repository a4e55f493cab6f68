#pragma once
// The ZA-3 servo's page: its output channel and IDs, Read and Write, no Default Settings. The
// servo's frames give the page its IDs only, so Monitoring shows nothing here.

#include "sensors/SensorPage.h"

namespace servo_ids {
constexpr int kChannelEdit = 1009;
constexpr int kChannelLabel = 1196;
}  // namespace servo_ids

class CSensor_SteeringEngineDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 199;
    CSensor_SteeringEngineDlg() : CSensorPage(IDD) {}

    BOOL OnInitDialog() override;
    const platform::MessageMap* GetMessageMap() const override;
    void OnBnClickedRead();

    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void EnableAfterOperation(int operation) override;
    void MachineCompleted(const sensor_steps::Machine& machine) override;

  private:
    // The user cannot edit the ID fields: only a Read that reached its end fills them. Until
    // then a Write would re-address the servo to whatever they hold (nothing: IDs 0 and 0).
    bool m_idsFromRead = false;
};
