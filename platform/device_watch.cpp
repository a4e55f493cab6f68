// Device arrival and removal from two sources: the kernel's tty events (libudev monitor) and
// COMn entries appearing in or leaving the port namespace directory. Both are read on the Qt
// main thread, so the events reach the sink through the normal dispatch.

#include <libudev.h>
#include <sys/stat.h>

#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/device_events.h"
#include "platform/port_namespace.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

// What tells one entry from another of the same name: a link replaced by a new one (a
// simulator started again, an adapter plugged into another socket) differs in its own inode and
// change time, and usually in its target; a dangling link is the same entry as before.
struct EntryIdentity {
    ino_t inode = 0;
    std::int64_t changedNs = 0;
    std::string target;
    bool operator==(const EntryIdentity&) const = default;
};

std::map<std::string, EntryIdentity> NamespaceEntries(const std::string& dir) {
    std::map<std::string, EntryIdentity> entries;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        std::string name = e.path().filename().string();
        if (!ParsePortName(name)) continue;
        EntryIdentity id;
        struct stat st {};
        if (::lstat(e.path().c_str(), &st) == 0) {
            id.inode = st.st_ino;
            id.changedNs = std::int64_t{st.st_ctim.tv_sec} * 1'000'000'000 + st.st_ctim.tv_nsec;
        }
        std::error_code linkError;
        id.target = fs::read_symlink(e.path(), linkError).string();
        entries.emplace(std::move(name), std::move(id));
    }
    return entries;
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

  public:
    void OnDirectoryChanged() {
        Arm();
        auto now = NamespaceEntries(m_dir);
        int removed = 0, arrived = 0;
        for (const auto& [name, id] : m_entries) {
            auto it = now.find(name);
            if (it == now.end() || !(it->second == id)) ++removed;
        }
        for (const auto& [name, id] : now) {
            auto it = m_entries.find(name);
            if (it == m_entries.end() || !(it->second == id)) ++arrived;
        }
        // The list is brought up to date before any event goes out: the handlers may open a box,
        // and a change that comes while it is open is compared with this list, not an old one.
        m_entries = std::move(now);
        for (int i = 0; i < removed; ++i) RaiseDeviceChange(DBT_DEVICEREMOVECOMPLETE);
        for (int i = 0; i < arrived; ++i) RaiseDeviceChange(DBT_DEVICEARRIVAL);
    }

    void OnUdevEvents() {
        if (!m_notifier) return;  // no kernel events here
        // The monitor's socket does not block: this takes what is queued and stops.
        while (udev_device* dev = udev_monitor_receive_device(m_monitor)) {
            const char* action = udev_device_get_action(dev);
            UINT event = 0;
            if (action && std::strcmp(action, "add") == 0) event = DBT_DEVICEARRIVAL;
            if (action && std::strcmp(action, "remove") == 0) event = DBT_DEVICEREMOVECOMPLETE;
            udev_device_unref(dev);
            if (event) RaiseDeviceChange(event);
        }
    }

  private:
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
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { OnUdevEvents(); });
    }

    std::string m_dir;
    std::map<std::string, EntryIdentity> m_entries;
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

void PollDeviceChanges() {
    if (!g_watch) return;
    g_watch->OnDirectoryChanged();
    g_watch->OnUdevEvents();
}

}  // namespace platform
