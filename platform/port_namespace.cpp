#include "platform/port_namespace.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::string g_devRoot = "/dev";
std::string g_ttyClassRoot = "/sys/class/tty";

// The number after `prefix` in `name` when the rest is all digits.
std::optional<int> NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    std::string digits = name.substr(prefix.size());
    if (digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(digits);
}

// A ttyS device node exists for every UART slot the driver reserved; only those whose port
// type is known have hardware behind them (type 0 is "unknown").
bool HasRealUart(const std::string& ttyName) {
    std::ifstream in(g_ttyClassRoot + "/" + ttyName + "/type");
    int type = 0;
    return in >> type && type != 0;
}

std::vector<std::string> DevicesWithPrefix(const std::string& prefix) {
    std::vector<std::pair<int, std::string>> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(g_devRoot, ec)) {
        std::string name = entry.path().filename().string();
        if (auto n = NumberAfter(name, prefix)) {
            if (prefix == "ttyS" && !HasRealUart(name)) continue;
            found.emplace_back(*n, entry.path().string());
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& f : found) paths.push_back(f.second);
    return paths;
}

std::string Canonical(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::canonical(path, ec);
    return ec ? path : p.string();
}

}  // namespace

std::string PortNamespaceDirectory() {
    if (const char* dir = std::getenv("KESTROVA_DEVICES"); dir && *dir) return dir;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/.kestrova/devices";
}

std::optional<int> ParsePortName(const std::string& name) {
    std::string rest = name;
    if (rest.rfind("\\\\.\\", 0) == 0) rest = rest.substr(4);
    // "COM01" is not COM1: the program only ever forms names with "COM%d".
    if (rest.size() > 3 && rest[3] == '0') return std::nullopt;
    return NumberAfter(rest, "COM");
}

std::vector<PortMapping> ListPorts() {
    std::map<int, PortMapping> ports;
    std::set<std::string> taken;  // devices that already have a name
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PortNamespaceDirectory(), ec)) {
        auto n = ParsePortName(entry.path().filename().string());
        if (!n) continue;
        ports[*n] = PortMapping{*n, entry.path().string(), true};
        taken.insert(Canonical(entry.path().string()));
    }
    int next = 1;
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        for (const auto& path : DevicesWithPrefix(prefix)) {
            if (!taken.insert(Canonical(path)).second) continue;
            while (ports.count(next)) ++next;
            ports[next] = PortMapping{next, path, false};
        }
    }
    std::vector<PortMapping> list;
    for (auto& [n, p] : ports) list.push_back(p);
    return list;
}

std::optional<std::string> ResolvePort(int number) {
    for (const auto& p : ListPorts())
        if (p.number == number) return p.path;
    return std::nullopt;
}

void SetDeviceScanRoots(const std::string& devRoot, const std::string& ttyClassRoot) {
    g_devRoot = devRoot.empty() ? "/dev" : devRoot;
    g_ttyClassRoot = ttyClassRoot.empty() ? "/sys/class/tty" : ttyClassRoot;
}

}  // namespace platform
