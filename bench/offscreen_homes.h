#pragma once

#include <filesystem>

#include <QTemporaryDir>
#include <QtGlobal>

namespace ornet5::bench {

// For a benchmark that runs the program's windows in its own process: fresh
// configuration and data folders made the program's XDG homes, and Qt
// drawing offscreen. Made before the application; the folders go with the
// object.
class TOffscreenHomes {
  public:
    TOffscreenHomes() {
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    std::filesystem::path Config() const { return config_.path().toStdString(); }
    std::filesystem::path Data() const { return data_.path().toStdString(); }

  private:
    QTemporaryDir config_;
    QTemporaryDir data_;
};

}  // namespace ornet5::bench
