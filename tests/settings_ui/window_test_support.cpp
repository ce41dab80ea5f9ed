#include "tests/settings_ui/window_test_support.h"

#include <QTest>

namespace ornet5::test {

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "ornet5_settings_ui_test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

void TypeText(QWidget& widget, const QString& text) {
    for (const QChar letter : text) {
        QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, QString(letter),
                            Qt::NoModifier);
    }
}

TWindowServices TServicesFixture::Services() {
    return TWindowServices{
        face,
        ticks,
        [this] { return escapeDown; },
        formats,
        [this](const std::exception& error) {
            reportedErrors.push_back(error.what());
            if (duringReport) {
                duringReport();
            }
        },
    };
}

}  // namespace ornet5::test
