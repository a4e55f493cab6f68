#pragma once
// The Read, Write and Default Settings machines that most sensors share, made from a short
// description of the page: how many streams it enters and leaves, which parameters its Read
// shows and its Write sends (on which stream, from which control), and its progress factors.
//
// Read:    enter every stream; stream polls; firmware and each shown parameter, each a read
//          request and an answer pair that shows it; the IDs; leave every stream.
// Write:   enter; stream polls; each written parameter, then the application ID and the
//          physical ID, each a write, a read request and an answer pair against the value
//          written; leave.
// Default: enter; stream polls; restore the defaults on one stream and check the answer; leave.
//
// Every answer pair takes only an answer that names its own request's parameter and data ID: the
// first poll of a pair reads what came before that request, which is the answer to the previous
// one, and a stream that never answers must not pass with another's value.

#include <span>
#include <vector>

#include "sensors/SensorSteps.h"

namespace sensor_steps {

// A parameter the Read shows in control `id`.
struct ShownParam {
    int stream = 0;
    BYTE param = 0;
    ShowFn show = nullptr;
    int id = 0;
};

// A parameter the Write sends from `input` and checks in the answer pair that follows.
struct WrittenParam {
    int stream = 0;
    BYTE param = 0;
    Input input;
};

struct StandardPage {
    int streams = 1;
    // Stream polls after the enter requests; 0 means two per stream.
    int readPolls = 0;
    int writePolls = 0;
    int defaultPolls = 0;
    std::vector<ShownParam> shown;      // after the firmware, in the order read
    std::vector<WrittenParam> written;  // before the IDs, in the order written
    // The application and physical IDs, and the firmware, go to the first stream.
    int physIdMax = 27;
    // Where the defaults are restored; false: the page has no Default Settings.
    bool hasDefault = true;
    int defaultStream = 0;
    double readFactor = 0;
    double writeFactor = 0;
    double defaultFactor = 0;
};

// The three machines of one page, built once; Machines() is what a page returns.
class StandardMachines {
  public:
    explicit StandardMachines(const StandardPage& page);
    StandardMachines(const StandardMachines&) = delete;
    StandardMachines& operator=(const StandardMachines&) = delete;

    const Machine& Read() const { return m_read; }
    const Machine& Write() const { return m_write; }
    const Machine& Default() const { return m_default; }
    std::span<const Machine* const> Machines() const { return m_all; }

  private:
    Machine m_read, m_write, m_default;
    std::vector<const Machine*> m_all;
};

// The machines of a sensor with one stream and one data rate (air speed, 150 A current, LiPo).
const StandardMachines& OneStreamMachines();

// A sensor with two streams under one application ID and one data rate each (40 A current,
// variometer): the rates are read and written stream 0x10 first, and the defaults are restored
// on stream 0x10. `rateEdit0` and `rateEdit1` hold the rates of the streams 0x00 and 0x10.
StandardPage TwoStreamPage(int rateEdit0, int rateEdit1, double readFactor, double writeFactor);

}  // namespace sensor_steps
