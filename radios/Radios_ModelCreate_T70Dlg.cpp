#include "radios/Radios_ModelCreate_T70Dlg.h"

#include "app/Globals.h"
#include "radios/page_placement.h"

namespace {

constexpr int kTemplatePages = 14;

// The template pages in the order they are made; the first is shown until a type is chosen.
CDialogEx* const* TemplatePages() {
    static CDialogEx* const pages[kTemplatePages] = {
        &g_radiosModelCreate_T70_Initialization,   &g_radiosModelCreate_T70_Airplane_FlyingWing1,
        &g_radiosModelCreate_T70_Airplane_Normal1, &g_radiosModelCreate_T70_Airplane_V_Tal1,
        &g_radiosModelCreate_T70_Helicopter_H_11,  &g_radiosModelCreate_T70_Helicopter_H_31,
        &g_radiosModelCreate_T70_Helicopter_H_41,  &g_radiosModelCreate_T70_Helicopter_H_4X1,
        &g_radiosModelCreate_T70_Helicopter_HE31,  &g_radiosModelCreate_T70_Helicopter_HR31,
        &g_radiosModelCreate_T70_Custom1,          &g_radiosModelCreate_T70_Glider_Normal1,
        &g_radiosModelCreate_T70_Glider_V_Tal1,    &g_radiosModelCreate_T70_Multicopter1,
    };
    return pages;
}

struct ModelType {
    const char* item;
    CDialogEx* page;
};

// The list's items by index and the page each shows.
const ModelType* ModelTypes() {
    static const ModelType types[CRadios_ModelCreate_T70Dlg::kModelTypes] = {
        {"H_1", &g_radiosModelCreate_T70_Helicopter_H_11},
        {"H_3", &g_radiosModelCreate_T70_Helicopter_H_31},
        {"H_4", &g_radiosModelCreate_T70_Helicopter_H_41},
        {"H_4X", &g_radiosModelCreate_T70_Helicopter_H_4X1},
        {"HE3", &g_radiosModelCreate_T70_Helicopter_HE31},
        {"HR3", &g_radiosModelCreate_T70_Helicopter_HR31},
        {"Multicopter", &g_radiosModelCreate_T70_Multicopter1},
        {"Airplane_Normal", &g_radiosModelCreate_T70_Airplane_Normal1},
        {"Airplane_FlyingWing", &g_radiosModelCreate_T70_Airplane_FlyingWing1},
        {"Airplane_V_Tal", &g_radiosModelCreate_T70_Airplane_V_Tal1},
        {"Glider_Normal", &g_radiosModelCreate_T70_Glider_Normal1},
        {"Glider_V_Tal", &g_radiosModelCreate_T70_Glider_V_Tal1},
        {"Custom", &g_radiosModelCreate_T70_Custom1},
    };
    return types;
}

}  // namespace

const platform::MessageMap* CRadios_ModelCreate_T70Dlg::GetMessageMap() const {
    using namespace platform;
    static const MessageMap map{
        CDialogEx::ThisMessageMap(),
        {
            OnWmTimer(&CRadios_ModelCreate_T70Dlg::OnTimer),
            OnCbnSelchange(1176, &CRadios_ModelCreate_T70Dlg::OnCbnSelchangeModelType),
            OnBnClicked(1293, &CRadios_ModelCreate_T70Dlg::OnBnClickedCreate),
        }};
    return &map;
}

void CRadios_ModelCreate_T70Dlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, 1287, m_tabTemplates);
    DDX_Control(dx, 1176, m_comboModelType);
    DDX_Control(dx, 1293, m_btnCreate);
}

BOOL CRadios_ModelCreate_T70Dlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    CreateTemplatePages();
    FillModelTypeCombo();
    return TRUE;
}

CRect CRadios_ModelCreate_T70Dlg::TemplateRect() {
    CRect r;
    m_tabTemplates.GetClientRect(&r);
    r.DeflateRect(1, 1, 1, 1);
    return r;
}

void CRadios_ModelCreate_T70Dlg::CreateTemplatePages() {
    const CRect r = TemplateRect();
    for (int i = 0; i < kTemplatePages; ++i) {
        CDialogEx* page = TemplatePages()[i];
        page->Create(page->TemplateId(), &m_tabTemplates);
        radios::PlacePage(*page, r, i == 0);
    }
}

void CRadios_ModelCreate_T70Dlg::FillModelTypeCombo() {
    for (int i = 0; i < kModelTypes; ++i) m_comboModelType.InsertString(i, ModelTypes()[i].item);
}

void CRadios_ModelCreate_T70Dlg::OnCbnSelchangeModelType() {
    const int index = m_comboModelType.GetCurSel();
    if (index == CB_ERR) return;
    m_nModelType = index;
    ShowTemplatePage(index);
}

void CRadios_ModelCreate_T70Dlg::ShowTemplatePage(int index) {
    if (index < 0 || index >= kModelTypes) return;
    const CRect r = TemplateRect();
    CDialogEx* shown = ModelTypes()[index].page;
    for (int i = 0; i < kTemplatePages; ++i)
        radios::PlacePage(*TemplatePages()[i], r, TemplatePages()[i] == shown);
}

void CRadios_ModelCreate_T70Dlg::OnBnClickedCreate() {
    // Creating a model on the radio is not there yet.
}

void CRadios_ModelCreate_T70Dlg::OnTimer(UINT_PTR id) {
    CDialogEx::OnTimer(id);
}
