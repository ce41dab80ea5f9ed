// The main of the app folder's test programs: the program's own
// application object (so that errors escaping event handlers are caught as
// in the program), and a settings folder of the test's own.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/qt/guarded_application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    ornet5::TGuardedApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
