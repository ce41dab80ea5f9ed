#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ornet5::test {

// A fresh configuration folder, made XDG_CONFIG_HOME of this process while
// the object lives; the folder and the old value go back at the end.
class TTempConfigHome {
  public:
    TTempConfigHome();
    ~TTempConfigHome();
    TTempConfigHome(const TTempConfigHome&) = delete;
    TTempConfigHome& operator=(const TTempConfigHome&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Where "\\.\COMn" resolves: the link the simulator makes.
    std::filesystem::path ComLink(int number) const;
    std::string EnvironmentEntry() const { return "XDG_CONFIG_HOME=" + path_.string(); }

  private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};

}  // namespace ornet5::test
