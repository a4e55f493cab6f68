#pragma once
// How telemetry values reach the screen: the value edits through data exchange, and the texts
// the GPS and redundancy-bus pages build from their status and position words. The texts are
// pure functions so they can be checked without a window.

#include "platform/afx.h"

namespace telemetry {

// Data exchange of a value field with its read-only edit. A page whose dialog does not have
// the edit yet skips it, so a refresh is harmless on a page that is not laid out.
void ExchangeValueText(CDataExchange* dx, int id, double& value);
void ExchangeValueText(CDataExchange* dx, int id, int& value);

// Latitude ("North"/"South") or longitude ("East"/"West") of a GPS position word: degrees and
// whole minutes. False when the word's hemisphere code does not belong to this axis, so the
// edit keeps what it showed.
bool GpsPositionText(int word, bool longitude, CString& text);

// The six fields a GPS date/time word fills: byte 0 says whether it carries the time (0) or
// the date (1); any other word changes nothing.
struct GpsDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
void SplitGpsDateTime(int word, GpsDateTime& fields);
CString GpsDateTimeText(const GpsDateTime& fields);

// The redundancy bus reports 27 states, one bit each.
inline constexpr int kBusStatusBits = 27;
// The status edit of bit `bit` (0..26).
int BusStatusEdit(int bit);
// What the edit of bit `bit` shows for the status word `status`.
const char* BusStatusText(unsigned status, int bit);

}  // namespace telemetry
