#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace ornet5::test {

// A fresh configuration folder, made XDG_CONFIG_HOME of this process while
// the object lives; the folder and the old value go back at the end.
class TTempConfigHome {
  public:
    TTempConfigHome();
    ~TTempConfigHome();
    TTempConfigHome(const TTempConfigHome&) = delete;
    TTempConfigHome& operator=(const TTempConfigHome&) = delete;

    const std::filesystem::path& Path() const { return folder_.Path(); }
    // Where "\\.\COMn" resolves: the link the simulator makes.
    std::filesystem::path ComLink(int number) const;
    std::string EnvironmentEntry() const { return "XDG_CONFIG_HOME=" + Path().string(); }

  private:
    TTempFolder folder_;
    std::optional<std::string> previous_;
};

}  // namespace ornet5::test
