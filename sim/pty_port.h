#pragma once
// A pseudo-terminal that stands in for a serial adapter, and its entry in the port namespace
// directory through which the program finds COM ports.

#include <memory>
#include <string>

namespace sim {

class PtyPort {
  public:
    // nullptr with `error` set when no pseudo-terminal can be made.
    static std::unique_ptr<PtyPort> Open(std::string& error);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }
    void Close();

  private:
    PtyPort() = default;
    int master_ = -1;
    // Held open so that the master does not read EIO whenever the program closes its end.
    int slave_ = -1;
    std::string slavePath_;
};

// $KESTROVA_DEVICES, or $HOME/.kestrova/devices when that is unset.
std::string PortDirectory();

// Makes `dir`/COM`port` a symlink to `target`, creating the directory when missing. Refuses to
// replace an entry that is not a symlink.
bool PublishPort(const std::string& dir, int port, const std::string& target, std::string& error);
// Removes the entry, but only while it still points at `target`.
void UnpublishPort(const std::string& dir, int port, const std::string& target);

}  // namespace sim
