// Device arrival and removal from two sources: the kernel's tty events (libudev monitor) and
// COMn entries appearing in or leaving the port namespace directory. Both are read on the Qt
// main thread, so the events reach the sink through the normal dispatch.

#include <libudev.h>

#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/device_events.h"
#include "platform/port_namespace.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

std::set<std::string> NamespaceEntries(const std::string& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        std::string name = e.path().filename().string();
        if (ParsePortName(name)) names.insert(name);
    }
    return names;
}

class DeviceWatch {
  public:
    DeviceWatch() : m_dir(PortNamespaceDirectory()) {
        StartUdev();
        m_entries = NamespaceEntries(m_dir);
        QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged,
                         [this](const QString&) { OnDirectoryChanged(); });
        Arm();
    }
    ~DeviceWatch() {
        m_notifier.reset();
        if (m_monitor) udev_monitor_unref(m_monitor);
        if (m_udev) udev_unref(m_udev);
    }

  private:
    // Watches the directory, or while it does not exist its nearest existing ancestor, so a
    // namespace created later is still seen.
    void Arm() {
        if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
        fs::path p(m_dir);
        std::error_code ec;
        while (!p.empty() && !fs::is_directory(p, ec) && p != p.parent_path()) p = p.parent_path();
        if (!p.empty()) m_watcher.addPath(QString::fromStdString(p.string()));
    }

    void OnDirectoryChanged() {
        Arm();
        auto now = NamespaceEntries(m_dir);
        for (const auto& name : m_entries)
            if (!now.count(name)) RaiseDeviceChange(DBT_DEVICEREMOVECOMPLETE);
        for (const auto& name : now)
            if (!m_entries.count(name)) RaiseDeviceChange(DBT_DEVICEARRIVAL);
        m_entries = std::move(now);
    }

    void StartUdev() {
        m_udev = udev_new();
        if (!m_udev) return;
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
        if (!m_monitor) return;
        if (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "tty", nullptr) < 0 ||
            udev_monitor_enable_receiving(m_monitor) < 0)
            return;  // no kernel events here (a container, say): the directory still counts
        m_notifier = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_monitor),
                                                       QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { OnUdevEvent(); });
    }

    void OnUdevEvent() {
        udev_device* dev = udev_monitor_receive_device(m_monitor);
        if (!dev) return;
        const char* action = udev_device_get_action(dev);
        if (action && std::strcmp(action, "add") == 0)
            RaiseDeviceChange(DBT_DEVICEARRIVAL);
        else if (action && std::strcmp(action, "remove") == 0)
            RaiseDeviceChange(DBT_DEVICEREMOVECOMPLETE);
        udev_device_unref(dev);
    }

    std::string m_dir;
    std::set<std::string> m_entries;
    QFileSystemWatcher m_watcher;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

std::unique_ptr<DeviceWatch> g_watch;

}  // namespace

void StartDeviceWatch() {
    g_watch = std::make_unique<DeviceWatch>();
}

void StopDeviceWatch() {
    g_watch.reset();
}

}  // namespace platform
