#include "radios/model_template_page.h"

namespace radios {

void ModelTemplatePage::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    if (m_hasInputMap) DDX_Control(dx, kInputMapButton, m_btnInputMap);
}

}  // namespace radios
