// Templates of the pages that are still empty frames: the reserve sensor pages, the placeholder
// receiver and radio pages, and the dialogs that sit inside other pages.

#include "platform/dialog_template.h"
#include "platform/styles.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

constexpr DWORD kChild = WS_CHILD | DS_CONTROL;

DialogTemplate Page(UINT id, short cx, short cy, std::vector<ControlTemplate> controls = {}) {
    return DialogTemplate{id, "", cx, cy, kChild, "MS Shell Dlg", 8, std::move(controls)};
}

// A page whose only content is a short text in its lower right corner.
DialogTemplate Marked(UINT id, const char* text) {
    return Page(id, 606, 384, {{CtrlKind::Static, IDC_STATIC, text, WS_VISIBLE, 585, 369, 14, 8}});
}

const std::vector<DialogTemplate>& Templates() {
    static const std::vector<DialogTemplate> templates = [] {
        std::vector<DialogTemplate> t;
        // Sensor pages whose own layout arrives with their pages.
        for (UINT id : {129u, 131u})
            t.push_back(Page(id, 606, 384));
        for (UINT id : {202u, 203u, 204u}) t.push_back(Page(id, 606, 384));
        t.push_back(Marked(139, "K4V"));
        t.push_back(Marked(140, "K5V"));
        t.push_back(Marked(141, "K7L"));
        t.push_back(Page(166, 606, 384));
        for (UINT id : {168u, 169u, 170u, 171u, 172u, 196u}) t.push_back(Page(id, 597, 341));
        t.push_back(Marked(216, "2"));
        t.push_back(Marked(217, "3"));
        return t;
    }();
    return templates;
}

}  // namespace

void RegisterPageTemplates() {
    for (const DialogTemplate& t : Templates()) platform::RegisterDialogTemplate(t);
}

}  // namespace resources
