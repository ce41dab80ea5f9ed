#include "engine/line_stream.h"

#include <utility>

namespace ornet5 {

TLineStream::TLineStream(std::function<void(std::string)> takeLine)
    : std::ostream(nullptr), buffer_(std::move(takeLine)) {
    rdbuf(&buffer_);
}

// Unbuffered: every character comes here, and a line leaves at its end.
// Always succeeds: a failed call would set the stream's badbit, and every
// later line would be dropped without a word.
TLineStream::TLineBuffer::int_type TLineStream::TLineBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    try {
        if (traits_type::to_char_type(c) == '\n') {
            takeLine_(std::exchange(line_, {}));
        } else {
            line_ += traits_type::to_char_type(c);
        }
    } catch (...) {
        // Out of memory: the line in progress is given up.
        line_.clear();
    }
    return c;
}

}  // namespace ornet5
