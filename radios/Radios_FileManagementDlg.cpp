#include "radios/Radios_FileManagementDlg.h"

#include <vector>

#include "platform/win32_drives.h"

namespace {

// The drives Connect looks at, C: to Z:, and their letters.
constexpr int kDrives = 24;
const char* const kDriveRoots[kDrives] = {
    "C:", "D:", "E:", "F:", "G:", "H:", "I:", "J:", "K:", "L:", "M:", "N:",
    "O:", "P:", "Q:", "R:", "S:", "T:", "U:", "V:", "W:", "X:", "Y:", "Z:",
};
const char kDriveLetters[kDrives] = {'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N',
                                     'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z'};

constexpr DWORD kDriveListLength = 255;
constexpr DWORD kVolumeNameLength = 256;
constexpr DWORD kFileSystemNameLength = 20;

}  // namespace

const platform::MessageMap* CRadios_FileManagementDlg::GetMessageMap() const {
    static const platform::MessageMap map{
        CDialogEx::ThisMessageMap(),
        {platform::OnBnClicked(1005, &CRadios_FileManagementDlg::OnBnClickedConnect)}};
    return &map;
}

void CRadios_FileManagementDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, 1005, m_btnConnect);
    DDX_Control(dx, 1006, m_btnBackup);
}

void CRadios_FileManagementDlg::OnBnClickedConnect() {
    // Drives one after the other from C:, up to the first letter that is not there.
    for (int i = 0; i < kDrives; ++i) {
        if (PathIsDirectoryA(kDriveRoots[i]) != static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY)) break;
        const CString name = GetDriveInfoText(kDriveLetters[i], 0);
        std::vector<char> list(kDriveListLength, '\0');
        GetLogicalDriveStringsA(kDriveListLength, list.data());
        // The list's first root string, as the box shows it.
        CString first;
        first.Format("test%s.", list.data());
        AfxMessageBox(first);
        AfxMessageBox(name);
    }
}

CString CRadios_FileManagementDlg::GetDriveInfoText(char letter, int kind) {
    if (!IsCharAlphaA(letter)) return CString("驱动器参数无效!");
    CString root;
    root.Format("%c:\\", letter);

    std::vector<char> volumeName(kVolumeNameLength, '\0');
    std::vector<char> fileSystem(kFileSystemNameLength, '\0');
    DWORD serial = 0;
    const BOOL gotVolume =
        GetVolumeInformationA(root, volumeName.data(), kVolumeNameLength, &serial, nullptr, nullptr,
                              fileSystem.data(), kFileSystemNameLength);
    ULARGE_INTEGER freeToCaller{}, total{};
    GetDiskFreeSpaceExA(root.Left(2), &freeToCaller, &total, nullptr);
    const ULONGLONG freeMb = freeToCaller.QuadPart / 1024 / 1024;
    const ULONGLONG totalMb = total.QuadPart / 1024 / 1024;

    CString text;
    switch (kind) {
        case 0:
            text.Format("驱动器 %c 的名1字为:%s.", letter, volumeName.data());
            break;
        case 1:
            if (serial != 0)
                text.Format("驱动器 %c 的序列号为:%X.", letter, serial);
            else
                text = "获取驱动器序列号失败!";
            break;
        case 2:
            if (gotVolume && fileSystem[0] != '\0')
                text.Format("驱动器 %c 的文件系统为:%s.", letter, fileSystem.data());
            else
                text = "获取驱动器文件系统失败!";
            break;
        case 3: {
            const char* type = nullptr;
            switch (GetDriveTypeA(root)) {
                case DRIVE_UNKNOWN:
                    type = "未知类型!";
                    break;
                case DRIVE_NO_ROOT_DIR:
                    return CString("没有根目录的驱动器!");
                case DRIVE_REMOVABLE:
                    type = "可移动磁盘";
                    break;
                case DRIVE_FIXED:
                    type = "硬盘";
                    break;
                case DRIVE_REMOTE:
                    type = "网络驱动器";
                    break;
                case DRIVE_CDROM:
                    type = "光驱(CD-ROM)";
                    break;
                case DRIVE_RAMDISK:
                    type = "RAM磁盘(RAM Disk)";
                    break;
                default:
                    return CString("未知错误!");
            }
            text.Format("驱动器 %c 的类型为:%s.", letter, type);
            break;
        }
        case 4:
            if (totalMb != 0)
                text.Format("驱动器 %c 的总大小为:%.2fGB.", letter,
                            static_cast<double>(static_cast<float>(totalMb) / 1024.0f));
            else
                text = "获取驱动器总大小失败!";
            break;
        case 5:
            if (freeMb != 0)
                text.Format("驱动器 %c 的剩余大小为:%.2fGB.", letter,
                            static_cast<double>(static_cast<float>(freeMb) / 1024.0f));
            else
                text = "获取驱动器剩余大小失败!";
            break;
        default:
            text = "获取驱动器信息时参数设置错误!";
    }
    return text;
}
