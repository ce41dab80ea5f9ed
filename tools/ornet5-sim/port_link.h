#pragma once

#include <filesystem>

namespace ornet5 {

// The symbolic link through which the monitor finds the pseudo-terminal.
// It exists for the life of this object.
class TPortLink {
  public:
    // Creates the parent folder when missing and replaces an older link,
    // but never a file that is not a link. Throws ESimError.
    TPortLink(std::filesystem::path link, std::filesystem::path target);
    // Removes the link, unless it has meanwhile been pointed elsewhere.
    ~TPortLink();
    TPortLink(const TPortLink&) = delete;
    TPortLink& operator=(const TPortLink&) = delete;

    const std::filesystem::path& Path() const { return link_; }

  private:
    std::filesystem::path link_;
    std::filesystem::path target_;
};

}  // namespace ornet5
