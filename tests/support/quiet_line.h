#pragma once
// A virtual serial line with nothing on it: it takes what is written and never answers.

#include "platform/virtual_port.h"

namespace kestrova::test {

class QuietLine : public platform::VirtualLine {
  public:
    void Write(const std::uint8_t*, std::size_t n, platform::Micros) override { written += n; }
    std::size_t Available(platform::Micros) override { return 0; }
    std::size_t Read(std::uint8_t*, std::size_t, platform::Micros) override { return 0; }
    void DiscardInput(platform::Micros) override {}
    bool Present() const override { return present; }

    std::size_t written = 0;
    bool present = true;
};

}  // namespace kestrova::test
