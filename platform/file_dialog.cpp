#include "platform/file_dialog.h"

#include <QFileDialog>
#include <QWidget>
#include <filesystem>

#include "platform/modal_ui.h"
#include "platform/styles.h"

namespace platform {

std::string FileFilterToQt(const std::string& filter) {
    // Pairs of (description, pattern) separated by '|', ended by an empty pair.
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';') c = ' ';
        std::string entry = parts[i];
        // Qt reads the patterns from the parentheses; add them where the description has none.
        if (entry.find('(') == std::string::npos) entry += " (" + patterns + ")";
        if (!out.empty()) out += ";;";
        out += entry;
    }
    return out;
}

std::string WithDefaultExtension(const std::string& path, const std::string& ext) {
    if (path.empty() || ext.empty()) return path;
    if (std::filesystem::path(path).has_extension()) return path;
    return path + "." + ext;
}

}  // namespace platform

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : m_open(openFileDialog != FALSE),
      m_defaultExt(defaultExt ? defaultExt : ""),
      m_fileName(fileName ? fileName : ""),
      m_filter(filter ? filter : ""),
      m_parent(parent) {
    m_ofn.Flags = flags;
}

std::string CFileDialog::AskForName() const {
    if (platform::HasModalHook()) {
        platform::ModalRecord record;
        record.kind = platform::ModalKind::FileDialog;
        record.openFile = m_open;
        record.filter = m_filter;
        record.defaultExt = m_defaultExt;
        record.fileName = m_fileName;
        record.initialDir = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "";
        platform::ModalAnswer answer = platform::AskModalHook(record);
        return answer.result == IDOK ? answer.path : std::string();
    }
    QWidget* parent = m_parent && m_parent->m_hWnd ? m_parent->m_hWnd->window() : nullptr;
    QString dir = QString::fromUtf8(m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "");
    if (!m_fileName.empty()) dir = QDir(dir).filePath(QString::fromUtf8(m_fileName.c_str()));
    QString filter = QString::fromStdString(platform::FileFilterToQt(m_filter));
    // The overwrite question is asked below, about the name with its extension.
    QString name = m_open ? QFileDialog::getOpenFileName(parent, QString(), dir, filter)
                          : QFileDialog::getSaveFileName(parent, QString(), dir, filter, nullptr,
                                                         QFileDialog::DontConfirmOverwrite);
    return name.toUtf8().constData();
}

intptr_t CFileDialog::DoModal() {
    for (;;) {
        const std::string chosen = AskForName();
        if (chosen.empty()) return IDCANCEL;
        // A file to open is the one picked; only a typed name that names none gets the default
        // extension. A file to save always gets it, before anyone is asked about replacing it.
        std::error_code error;
        const bool picked = m_open && std::filesystem::exists(chosen, error);
        m_path = picked ? chosen : platform::WithDefaultExtension(chosen, m_defaultExt);
        if (m_open || !(m_ofn.Flags & OFN_OVERWRITEPROMPT) ||
            !std::filesystem::exists(m_path, error))
            return IDOK;
        const std::string question = std::filesystem::path(m_path).filename().string() +
                                     " already exists.\nDo you want to replace it?";
        if (platform::ShowMessageBox(m_parent, question.c_str(), "Confirm Save As",
                                     MB_YESNO | MB_ICONWARNING) == IDYES)
            return IDOK;
        // No: back to the dialog for another name.
    }
}

CString CFileDialog::GetFileName() const {
    return CString(std::filesystem::path(m_path).filename().string().c_str());
}

CString CFileDialog::GetFileExt() const {
    std::string ext = std::filesystem::path(m_path).extension().string();
    return CString(ext.empty() ? "" : ext.c_str() + 1);
}
