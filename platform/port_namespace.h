#pragma once
// Which device file a port name "COMn" stands for. A directory (the port namespace) holds the
// user's explicit entries; serial devices without an entry are numbered automatically, so a
// USB adapter plugged in shows up as a COM port without any configuration.

#include <optional>
#include <string>
#include <vector>

namespace platform {

// $KESTROVA_DEVICES, or $HOME/.kestrova/devices when that is unset or empty.
std::string PortNamespaceDirectory();

// n for "COMn" (also "\\.\COMn"), n >= 1; nullopt for anything else.
std::optional<int> ParsePortName(const std::string& name);

struct PortMapping {
    int number = 0;      // n of COMn
    std::string path;    // what opening COMn opens
    bool explicitEntry;  // an entry of the namespace directory, else numbered automatically
};

// Every port, by number: explicit entries, then /dev/ttyUSB*, /dev/ttyACM* (numeric order) and
// the /dev/ttyS* with a real UART behind them on the free numbers from COM1 upward.
std::vector<PortMapping> ListPorts();

// The device path of COMn, or nullopt when there is no such port.
std::optional<std::string> ResolvePort(int number);

// Tests point the device scan at a made-up tree: `devRoot` stands for /dev and `ttyClassRoot`
// for /sys/class/tty. Empty strings restore the real ones.
void SetDeviceScanRoots(const std::string& devRoot, const std::string& ttyClassRoot);

}  // namespace platform
