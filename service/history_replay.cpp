#include "service/history_replay.h"

#include <algorithm>

namespace ornet5 {

using namespace std::chrono;

THistoryReplay::THistoryReplay(const std::filesystem::path& journalFolder,
                               const TRowMark& acknowledged, const TRowMark& last,
                               system_clock::time_point now)
    : folder_(journalFolder),
      last_(last),
      from_(std::max(UtcMsTime(acknowledged.utcMs), now - kLongestHistory)),
      until_(UtcMsTime(last.utcMs)),
      counter_(journalFolder, from_, until_) {}

bool THistoryReplay::Step(std::size_t maxRows, std::vector<TReplayRow>& rows) {
    if (!countDone_) {
        batch_.clear();
        countDone_ = !counter_.Next(maxRows, batch_);
        counted_ += batch_.size();
        if (countDone_) {
            // More rows than seqs (a journal row written twice) cannot all
            // keep their numbers; the oldest are left out.
            counted_ = std::min(counted_, last_.seq);
            nextSeq_ = last_.seq - counted_ + 1;
            reader_.emplace(folder_, from_, until_);
        }
        return true;
    }
    batch_.clear();
    const bool more = reader_->Next(maxRows, batch_);
    for (TJournalRow& row : batch_) {
        if (nextSeq_ > last_.seq) {
            return false;
        }
        const TRowMark mark{nextSeq_++, UtcMs(row.time.utc)};
        rows.push_back({std::move(row), mark});
    }
    return more && nextSeq_ <= last_.seq;
}

std::optional<TRowMark> THistoryReplay::Floor() const {
    if (!countDone_) {
        return std::nullopt;
    }
    return TRowMark{last_.seq - counted_, UtcMs(from_)};
}

}  // namespace ornet5
