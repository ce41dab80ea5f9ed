#pragma once

#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

namespace ornet5 {

// An output stream that hands each complete line, without its end, to a
// function: the parts of a detector that tell their troubles to a stream
// (the port's open failures, the journal's) publish them this way as
// events, which the observers write where their program keeps its log.
class TLineStream : public std::ostream {
  public:
    explicit TLineStream(std::function<void(std::string)> takeLine);

  private:
    class TLineBuffer : public std::streambuf {
      public:
        explicit TLineBuffer(std::function<void(std::string)> takeLine)
            : takeLine_(std::move(takeLine)) {}

      protected:
        int_type overflow(int_type c) override;

      private:
        std::function<void(std::string)> takeLine_;
        std::string line_;
    };

    TLineBuffer buffer_;
};

}  // namespace ornet5
