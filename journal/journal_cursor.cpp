#include "journal/journal_cursor.h"

#include <limits>

#include "journal/journal_reader.h"

namespace ornet5 {

TJournalCursor::TJournalCursor(std::filesystem::path folder,
                               std::chrono::system_clock::time_point after,
                               std::chrono::system_clock::time_point until)
    : folder_(std::move(folder)),
      after_(after),
      until_(until),
      names_(JournalFileNames(after, until)) {}

bool TJournalCursor::OpenNextFile() {
    while (nextName_ < names_.size()) {
        file_ = std::ifstream(folder_ / names_[nextName_++], std::ios::binary);
        if (file_) {
            return true;
        }
    }
    return false;
}

bool TJournalCursor::Next(std::size_t maxRows, std::vector<TJournalRow>& rows) {
    // Room for the longest row, its CRLF and one byte more, which tells a
    // longer line.
    char line[kMaxJournalLineLength + 3];
    std::size_t taken = 0;
    while (!ended_ && taken < maxRows) {
        if (!file_.is_open() || !file_) {
            file_.close();
            if (!OpenNextFile()) {
                ended_ = true;
                break;
            }
        }
        file_.getline(line, sizeof line);
        if (file_.fail() && !file_.eof() && file_.gcount() == sizeof line - 1) {
            // Over-long: the rest of the line is passed over unread.
            file_.clear();
            file_.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            continue;
        }
        const auto length = static_cast<std::size_t>(file_.gcount());
        const std::size_t textLength = length > 0 && !file_.eof() ? length - 1 : length;
        const auto row = ParseJournalRow(std::string_view(line, textLength));
        if (row && row->time.utc > after_ && row->time.utc <= until_) {
            rows.push_back(*row);
            ++taken;
        }
    }
    return !ended_;
}

}  // namespace ornet5
