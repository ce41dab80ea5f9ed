#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ornet5 {

// Ways to misbehave, for exercising the monitor's retry and timeout paths.
struct TDetectorFaults {
    bool silent = false;
    bool badHeaderChecksum = false;
    bool badDataChecksum = false;
    bool split = false;  // each reply as two pieces
};

struct TDetectorSetup {
    std::string address;  // own address, 3 bytes
    TDetectorFaults faults;
    // The packed-decimal word for the next read-dose reply.
    std::function<std::uint16_t()> nextReading;
};

enum class ELogKind { Request, Reply, Note };

struct TLogLine {
    ELogKind kind;
    std::string text;
};

// One reply: its pieces are written in order, with a pause between them.
struct TReply {
    std::vector<std::string> pieces;
};

struct TFeedResult {
    std::vector<TReply> replies;
    std::vector<TLogLine> log;
};

// The detector's side of the line, without the line itself: it gathers the
// received bytes into frames, checks them and says what to answer.
class TDetector {
  public:
    static constexpr std::uint8_t kIdentifyCommand = 0;
    static constexpr std::uint8_t kIdentifyParameter = 0;
    static constexpr std::uint8_t kReadDoseCommand = 6;
    static constexpr std::uint8_t kReadDoseParameter = 13;

    explicit TDetector(TDetectorSetup setup);

    // Takes bytes as they come off the line, in pieces of any size.
    TFeedResult Feed(std::string_view bytes);

    bool HasPending() const { return !pending_.empty(); }

    // Forgets an unfinished frame once the line has gone quiet, so that the
    // monitor's next request is not taken for its missing tail.
    std::vector<TLogLine> DiscardPending();

  private:
    // Looks at the frame at the front of pending_; false when more bytes are
    // needed.
    bool TakeFrame(TFeedResult& result);
    void Answer(std::string_view request, TFeedResult& result);
    bool IsForUs(std::string_view request) const;
    std::string IdentifyReply(std::string_view request) const;
    std::string ReadDoseReply(std::string_view request);
    void Send(std::string reply, bool hasDataChecksum, TFeedResult& result) const;
    void FlushSkipped(std::vector<TLogLine>& log);

    TDetectorSetup setup_;
    std::string pending_;
    std::string skipped_;  // garbage dropped while looking for a header
};

}  // namespace ornet5
