// ORNET5: dose-rate monitor for ОРНЕТ-5 detectors.

#include <cstdio>
#include <memory>

#include "app/app_title.h"
#include "app/error_report.h"
#include "app/escape_key.h"
#include "app/face.h"
#include "app/guarded_application.h"
#include "app/program_windows.h"
#include "app/qt_tick_source.h"
#include "app/regional_formats.h"
#include "app/settings_window_link.h"
#include "app/signal_quit.h"
#include "settings/trelan_adc_face.h"

namespace ornet5 {
namespace {

int Run(TGuardedApplication& application) {
    TErrorReport errorReport(QString::fromUtf8(kApplicationTitle));
    application.SetErrorHandler([&](const std::exception& error) { errorReport.Report(error); });
    TQtTickSource driverTicks;
    TEscapeKey escapeKey;
    const TQtRegionalFormats formats;

    auto face = std::make_unique<TFace>();
    Face = face.get();

    const TWindowServices services{
        *face, driverTicks, [&escapeKey] { return escapeKey.IsDown(); }, formats,
        [&errorReport](const std::exception& error) { errorReport.Report(error); }};
    auto settingsWindow = std::make_unique<TTrelanADCFace>(services);
    TrelanADCFace = settingsWindow.get();
    TSettingsWindowLink settingsLink(*settingsWindow);
    face->SetOptionsWindow(&settingsLink);

    const TSignalQuit signalQuit([&face] { face->close(); });

    face->show();
    // A bare X server has no window manager to activate the new window, and
    // the first activation is what loads the stored settings.
    face->activateWindow();
    const int exitCode = application.exec();

    face->SetOptionsWindow(nullptr);
    settingsWindow.reset();
    TrelanADCFace = nullptr;
    face.reset();
    Face = nullptr;
    return exitCode;
}

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    ornet5::TGuardedApplication application(argc, argv);
    try {
        return ornet5::Run(application);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ORNET5: %s\n", error.what());
        return 1;
    }
}
