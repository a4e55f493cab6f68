#pragma once
// Pseudo-terminals published as COM ports, for tests of the serial layer: the test holds the
// master (the "device" end) and the program opens the slave through the port namespace.

#include <string>

namespace kestrova::test {

class PtyPair {
  public:
    PtyPair();  // raw, non-blocking master
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

    // Makes the device vanish: the slave is hung up, as a pulled USB adapter's tty is.
    void CloseMaster();
    // Writes all of `bytes` to the master (the program then reads them from the slave).
    void Send(const std::string& bytes);
    // What has reached the master within `timeoutMs`, up to `count` bytes.
    std::string Receive(std::size_t count, int timeoutMs = 1000);

  private:
    int m_master = -1;
    int m_slave = -1;  // keeps the slave's line settings alive between the program's opens
    std::string m_slavePath;
};

// A fresh port-namespace directory for the test ($KESTROVA_DEVICES), removed at the end.
class TempNamespace {
  public:
    TempNamespace();
    ~TempNamespace();
    const std::string& dir() const { return m_dir; }
    // Publishes `target` as COM`number` (a symlink); removes it again.
    void Publish(int number, const std::string& target);
    void Withdraw(int number);

  private:
    std::string m_dir;
    std::string m_oldEnv;
    bool m_hadEnv = false;
};

}  // namespace kestrova::test
