#include "tests/qt/settings_window/window_test_support.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include <QTest>

namespace ornet5::test {

namespace {

QApplication* application = nullptr;

// Ends the application after the last test, while Qt's own globals still
// exist; a static QApplication would outlive them and crash at exit.
class TApplicationEnvironment : public ::testing::Environment {
  public:
    void TearDown() override {
        delete application;
        application = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

}  // namespace

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "ornet5_settings_ui_test";
    static char* argv[] = {name, nullptr};
    if (application == nullptr) {
        application = new QApplication(argc, argv);
    }
    return *application;
}

void TypeText(QWidget& widget, const QString& text) {
    for (const QChar letter : text) {
        QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, QString(letter),
                            Qt::NoModifier);
    }
}

TSettingsWindowServices TServicesFixture::Services() {
    return {events, [this](const TPollChoices& choices) { chosen.push_back(choices); }};
}

}  // namespace ornet5::test
