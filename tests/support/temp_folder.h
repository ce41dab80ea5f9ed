#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ornet5::test {

// A fresh folder for one test, removed with everything in it at the end.
class TTempFolder {
  public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::string ReadAll(const std::filesystem::path& file);
void WriteAll(const std::filesystem::path& file, std::string_view bytes);

}  // namespace ornet5::test
