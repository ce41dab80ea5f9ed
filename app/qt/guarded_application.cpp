#include "app/qt/guarded_application.h"

#include <cstdio>

#include "common/exception.h"

namespace ornet5 {

TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        HandleError(error);
    } catch (...) {
        HandleError(Exception(kUnknownErrorMessage));
    }
    return false;
}

void TGuardedApplication::HandleError(const std::exception& error) {
    if (!errorHandler_) {
        std::fprintf(stderr, "ORNET5: %s\n", error.what());
        return;
    }
    // A fault in the report itself must not take the program down either.
    try {
        errorHandler_(error);
    } catch (const std::exception& reportError) {
        std::fprintf(stderr, "ORNET5: %s (while reporting: %s)\n", reportError.what(),
                     error.what());
    }
}

}  // namespace ornet5
