#include "app/qt/program_icon.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/program.h"

namespace ornet5 {
namespace {

TEST(ProgramIcon, IsA32By32PictureWithAtMost16Colours) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});

    const QImage image(":/ornet5/program-icon.png");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(32, 32));
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_LE(image.colorCount(), 16);
    // A round picture: the corners are see-through, the middle is not.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0);
    EXPECT_EQ(qAlpha(image.pixel(16, 16)), 255);
}

TEST(ProgramIcon, IsTheIconOfTheProgramsWindows) {
    auto* application = qobject_cast<TGuardedApplication*>(qApp);
    ASSERT_NE(application, nullptr);
    const QIcon before = QApplication::windowIcon();
    {
        TProgram program(*application);
        const QIcon icon = program.MainWindow().windowIcon();
        EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
        EXPECT_EQ(icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                  QImage(":/ornet5/program-icon.png").convertToFormat(QImage::Format_ARGB32));
    }
    QApplication::setWindowIcon(before);
}

}  // namespace
}  // namespace ornet5
