#pragma once
// Scenario tests of the whole program: the main window made as at start-up, with virtual COM
// ports on the virtual clock and every modal UI answered by the test.

#include <memory>

#include "platform/virtual_port.h"
#include "support/ui_harness.h"

class CKestrovaDlg;

namespace kestrova::test {

class AppTest : public UiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // COMn answers as `line` (a quiet line when none is given).
    void BindPort(int number, std::shared_ptr<platform::VirtualLine> line = nullptr);
    // Makes and shows the main window: ports listed, tree built, pages created.
    void StartMainWindow();
    // Opens the selected port with the Open button.
    void OpenPort();

    CKestrovaDlg& main();

  private:
    std::unique_ptr<CKestrovaDlg> m_main;
};

}  // namespace kestrova::test
