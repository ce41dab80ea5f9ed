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
    // Removes the link, or puts back the link it replaced, unless it has
    // meanwhile been pointed elsewhere.
    ~TPortLink();
    TPortLink(const TPortLink&) = delete;
    TPortLink& operator=(const TPortLink&) = delete;

    const std::filesystem::path& Path() const { return link_; }

  private:
    std::filesystem::path link_;
    std::filesystem::path target_;
    // What the replaced link pointed to; empty when there was none.
    std::filesystem::path previous_;
};

}  // namespace ornet5
