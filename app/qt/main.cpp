// ORNET5: dose-rate monitor for ОРНЕТ-5 detectors.

#include <cstdio>
#include <exception>

#include "app/qt/guarded_application.h"
#include "app/qt/program.h"

int main(int argc, char** argv) {
    ornet5::TGuardedApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORNET5_VERSION));
    try {
        ornet5::TProgram program(application);
        return program.Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ORNET5: %s\n", error.what());
        return 1;
    }
}
