#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ornet5 {

// How a poll cycle ended.
enum class TCycleStatus : std::uint8_t {
    // A dose reading came.
    Ok,
    // The identify request was answered.
    Identified,
    // Not one byte came back (also when the cycle sent nothing: a speed
    // text that is not a number).
    NoReply,
    // Bytes came, but no valid reply.
    BadReply,
    // The user's Escape ended the exchange.
    Cancelled,
};

// True for the cycles that count as failed: no reply, a bad reply, a cancel.
bool IsFailedCycle(TCycleStatus status);

struct TCycleOutcome {
    TCycleStatus status = TCycleStatus::NoReply;
    // The reading in µSv/h as the detector's decimal figure, whatever unit
    // the window shows; none unless Ok.
    std::optional<double> reading;
    // The answering detector's address such as "4.2.31"; empty when none.
    std::string detector;
};

// Whoever records the cycles (the journal, the alarm) hears of each one as
// it ends, before an error that ended it reaches the report.
class TCycleObserver {
  public:
    virtual ~TCycleObserver() = default;
    virtual void CycleEnded(const TCycleOutcome& outcome) = 0;
};

}  // namespace ornet5
