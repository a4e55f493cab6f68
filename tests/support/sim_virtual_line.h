#pragma once
// A simulated bus as the far end of a virtual COM port: tests bind it with
// platform::BindVirtualPort and the program's serial code talks to the simulated devices on
// the virtual clock.

#include <memory>

#include "platform/virtual_port.h"
#include "sim/bus.h"

namespace kestrova::test {

class SimVirtualLine : public platform::VirtualLine {
  public:
    explicit SimVirtualLine(std::shared_ptr<sim::Bus> bus) : bus_(std::move(bus)) {}

    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        bus_->Write(data, n, now);
    }
    std::size_t Available(platform::Micros now) override { return bus_->Available(now); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros now) override {
        return bus_->Read(out, max, now);
    }
    void DiscardInput(platform::Micros now) override { bus_->DiscardInput(now); }
    bool Present() const override { return bus_->Present(); }

    sim::Bus& Bus() { return *bus_; }

  private:
    std::shared_ptr<sim::Bus> bus_;
};

}  // namespace kestrova::test
