#include "app/qt/about_box.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/qt/bevel_panel.h"
#include "app/qt/window_references.h"
#include "app/window_layout.h"
#include "tests/qt/app_test_support.h"

namespace ornet5 {
namespace {

TEST(AboutBoxLayout, FollowsTheDesign) {
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("О программе"));
    EXPECT_EQ(box.size(), QSize(298, 213));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(box.font().pixelSize(), 11);

    EXPECT_EQ(box.Panel1().geometry(), QRect(8, 8, 281, 161));
    EXPECT_EQ(box.ProgramIcon().geometry(), QRect(8, 8, 121, 57));
    EXPECT_EQ(box.ProgramIcon().parentWidget(), &box.Panel1());
    EXPECT_TRUE(box.ProgramIcon().hasScaledContents());
    EXPECT_EQ(box.ProgramIcon().pixmap().size(), QSize(216, 95));

    EXPECT_EQ(box.ProductName().geometry(), QRect(144, 16, 129, 13));
    EXPECT_EQ(box.ProductName().text(), "ORNET-5");
    EXPECT_EQ(box.Version().geometry(), QRect(144, 40, 129, 13));
    EXPECT_EQ(box.Version().text(), QString::fromUtf8("версия 1.0"));

    QLabel& comments = box.Comments();
    EXPECT_EQ(comments.text(), QString::fromUtf8("Программа предназначена для считывания показаний "
                                                 "мощности дозы из приборов серии ОРНЕТ-5"));
    EXPECT_EQ(comments.pos(), QPoint(8, 112));
    EXPECT_EQ(comments.width(), 240);
    EXPECT_TRUE(comments.wordWrap());
    EXPECT_TRUE(comments.alignment().testFlag(Qt::AlignHCenter));
    // Fitted to the wrapped text: more than one line, and all of it.
    EXPECT_EQ(comments.height(), comments.heightForWidth(240));
    EXPECT_GT(comments.height(), 2 * comments.fontMetrics().height() - 1);
    EXPECT_LE(comments.geometry().bottom(), box.Panel1().height());

    EXPECT_EQ(box.OKButton().geometry(), QRect(111, 180, 75, 25));
    EXPECT_EQ(box.OKButton().text(), "OK");
    EXPECT_TRUE(box.OKButton().isDefault());
}

TEST(AboutBoxLayout, OnlyTheButtonTakesFocus) {
    TAboutBox box;
    for (QWidget* child : box.findChildren<QWidget*>()) {
        if (child == &box.OKButton()) {
            EXPECT_NE(child->focusPolicy(), Qt::NoFocus);
        } else {
            EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->metaObject()->className();
        }
    }
}

TEST(AboutBoxLayout, PanelHasALoweredOuterAndARaisedInnerBevel) {
    TAboutBox box;
    const QImage panel = box.Panel1().grab().toImage();
    const QRgb shadow = box.Panel1().palette().color(QPalette::Dark).rgb();
    const QRgb light = box.Panel1().palette().color(QPalette::Light).rgb();
    ASSERT_NE(shadow, light);
    const int right = panel.width() - 1;
    const int bottom = panel.height() - 1;
    EXPECT_EQ(panel.pixel(0, 50), shadow);
    EXPECT_EQ(panel.pixel(50, 0), shadow);
    EXPECT_EQ(panel.pixel(right, 50), light);
    EXPECT_EQ(panel.pixel(50, bottom), light);
    EXPECT_EQ(panel.pixel(1, 50), light);
    EXPECT_EQ(panel.pixel(50, 1), light);
    EXPECT_EQ(panel.pixel(right - 1, 50), shadow);
    EXPECT_EQ(panel.pixel(50, bottom - 1), shadow);
}

TEST(AboutBoxPicture, IsAGif89aWithA256ColourPaletteCarriedInTheProgram) {
    QFile file(":/ornet5/about.gif");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 13);
    EXPECT_EQ(bytes.left(6), "GIF89a");
    const auto byteAt = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
    EXPECT_EQ(byteAt(6) | byteAt(7) << 8, 216);
    EXPECT_EQ(byteAt(8) | byteAt(9) << 8, 95);
    // Global colour table present, with 2^(7+1) = 256 entries.
    EXPECT_EQ(byteAt(10) & 0x80, 0x80);
    EXPECT_EQ(byteAt(10) & 0x07, 7);

    const QImage image = QImage::fromData(bytes, "GIF");
    EXPECT_EQ(image.size(), QSize(216, 95));
}

// Where the program's rule puts a box of that outer size over the owner.
QPoint Centred(const QRect& owner, const QSize& box) {
    const TLayoutPoint at = CentredOver({owner.left(), owner.top(), owner.width(), owner.height()},
                                        {box.width(), box.height()});
    return {at.x, at.y};
}

TEST(AboutBoxKeys, EnterClosesWithOkEscapeDoesNothing) {
    TAboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBoxKeys, CloseButtonEndsWithCancel) {
    TAboutBox box;
    box.setResult(QDialog::Accepted);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.close();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);
}

// What one modal run looked like from inside.
struct TRunSeen {
    QPointer<TAboutBox> box;
    QPoint position;
    QSize frameSize;
    bool modal = false;
    bool visibleAfterEscape = false;
};

TRunSeen RunAndCloseWithEnter(QWidget& mainWindow) {
    TRunSeen seen;
    test::WhenModalOpen([&seen](QWidget& modal) {
        seen.box = qobject_cast<TAboutBox*>(&modal);
        seen.modal = seen.box == AboutBox && modal.isModal();
        seen.position = modal.frameGeometry().topLeft();
        seen.frameSize = modal.frameGeometry().size();
        QTest::keyClick(&modal, Qt::Key_Escape);
        seen.visibleAfterEscape = modal.isVisible();
        QTest::keyClick(&modal, Qt::Key_Enter);
    });
    RunAboutBox(mainWindow);
    return seen;
}

TEST(AboutBoxRun, EachOpeningIsAFreshModalBoxCentredOverTheMainWindow) {
    QWidget mainWindow;
    mainWindow.setFixedSize(385, 146);
    mainWindow.move(300, 250);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));

    const TRunSeen first = RunAndCloseWithEnter(mainWindow);
    EXPECT_TRUE(first.modal);
    EXPECT_TRUE(first.visibleAfterEscape);
    EXPECT_EQ(first.position, Centred(mainWindow.frameGeometry(), first.frameSize));
    // Destroyed when the run ended; the reference is cleared.
    EXPECT_TRUE(first.box.isNull());
    EXPECT_EQ(AboutBox, nullptr);

    mainWindow.move(20, 40);
    ASSERT_TRUE(
        test::WaitUntil([&] { return mainWindow.frameGeometry().topLeft() == QPoint(20, 40); }));
    const TRunSeen second = RunAndCloseWithEnter(mainWindow);
    EXPECT_TRUE(second.modal);
    EXPECT_EQ(second.position, Centred(mainWindow.frameGeometry(), second.frameSize));
    EXPECT_NE(second.position, first.position);
    EXPECT_TRUE(second.box.isNull());
}

}  // namespace
}  // namespace ornet5
