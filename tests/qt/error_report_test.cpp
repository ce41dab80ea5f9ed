#include "app/qt/qt_program_windows.h"

#include <gtest/gtest.h>

#include <iostream>

#include <memory>
#include <string>
#include <vector>

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/app_title.h"
#include "app/program_events.h"
#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/regional_formats.h"
#include "app/qt/trelan_adc_face.h"
#include "common/exception.h"
#include "tests/qt/app_test_support.h"

namespace ornet5 {
namespace {

// Clicks OK on the error report's box once it is open, after checking that
// it is the only one; collects what it saw.
struct TBoxSeen {
    int visibleBoxes = 0;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QList<QAbstractButton*> buttons;
    QWidget* parent = nullptr;
};

void CloseWithOk(QMessageBox& box, TBoxSeen& seen) {
    seen.visibleBoxes = static_cast<int>(test::VisibleMessageBoxes().size());
    seen.caption = box.windowTitle();
    seen.text = box.text();
    seen.icon = box.icon();
    seen.format = box.textFormat();
    seen.buttons = box.buttons();
    seen.parent = box.parentWidget();
    box.button(QMessageBox::Ok)->click();
}

void CloseWhenOpen(TBoxSeen& seen, int afterMs = 0) {
    test::WhenModalOpen([&seen, afterMs](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        QTimer::singleShot(afterMs, box, [box, &seen] { CloseWithOk(*box, seen); });
    });
}

TEST(ErrorReportBox, IsOneModalStopBoxWithOkAndTheTitle) {
    // With no window of the program active, the box belongs to the main
    // window, so that it never opens behind it.
    TFace face;
    TQtProgramWindows windows(face);
    TProgramEvents report(windows);
    TBoxSeen seen;
    CloseWhenOpen(seen);
    report.Report(Exception("Отменено пользователем"));
    EXPECT_FALSE(report.ErrorBoxOpen());
    EXPECT_EQ(report.ShownReports(), 1);
    EXPECT_EQ(seen.visibleBoxes, 1);
    EXPECT_EQ(seen.caption, QString::fromUtf8("ОРНЕТ-5"));
    EXPECT_EQ(seen.text, QString::fromUtf8("Отменено пользователем."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.parent, &face);
    EXPECT_TRUE(test::VisibleMessageBoxes().isEmpty());
}

TEST(ErrorReportBox, ShowsTypedTextAsItIsNotAsMarkup) {
    TFace face;
    TQtProgramWindows windows(face);
    TProgramEvents report(windows);
    TBoxSeen seen;
    CloseWhenOpen(seen);
    report.Report(EConvertError("'<b>9600</b>&amp;' is not a valid integer value"));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, "'<b>9600</b>&amp;' is not a valid integer value.");
}

TEST(ErrorReportBox, ShowsAZeroByteInTheMessageAndWhatFollowsIt) {
    TFace face;
    TQtProgramWindows windows(face);
    TProgramEvents report(windows);
    TBoxSeen seen;
    CloseWhenOpen(seen);
    using namespace std::string_literals;
    report.Report(EConvertError("'96\0' is not a valid integer value"s));
    EXPECT_EQ(seen.text, QString::fromStdString("'96\0' is not a valid integer value."s));
}

TEST(ErrorReportBox, ErrorsWhileABoxIsOpenOpenNoFurtherBox) {
    TFace face;
    TQtProgramWindows windows(face);
    TProgramEvents report(windows);
    // A failure repeating every 20 ms while the first box stays open 400 ms.
    QTimer repeating;
    int repeats = 0;
    QObject::connect(&repeating, &QTimer::timeout, [&] {
        ++repeats;
        report.Report(EConvertError("'abc' is not a valid integer value"));
    });
    repeating.start(20);
    TBoxSeen seen;
    CloseWhenOpen(seen, 400);
    report.Report(EConvertError("'abc' is not a valid integer value"));
    repeating.stop();

    EXPECT_EQ(seen.visibleBoxes, 1);
    EXPECT_EQ(report.ShownReports(), 1);
    EXPECT_GE(repeats, 5);
    EXPECT_EQ(report.SuppressedReports(), repeats);

    // Once closed, the next error is shown again.
    TBoxSeen next;
    CloseWhenOpen(next);
    report.Report(Exception("later"));
    EXPECT_EQ(report.ShownReports(), 2);
    EXPECT_EQ(next.text, "later.");
}

// An object whose every event handler fails.
class TFailingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw EConvertError("'x' is not a valid integer value");
        }
        return QObject::event(event);
    }
};

class GuardedApplication : public testing::Test {
  protected:
    GuardedApplication() : application_(*qobject_cast<TGuardedApplication*>(qApp)) {
        application_.SetErrorHandler(
            [this](const std::exception& error) { errors_.push_back(error.what()); });
    }
    ~GuardedApplication() override { application_.SetErrorHandler(nullptr); }

    TGuardedApplication& application_;
    std::vector<std::string> errors_;
};

TEST_F(GuardedApplication, ErrorEscapingAnEventHandlerIsReportedAndTheLoopGoesOn) {
    TFailingObject failing;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&failing, &event));
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "'x' is not a valid integer value");

    // From the event loop: a timer tick that fails, twice, then one that works.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks <= 2) {
            throw Exception("tick failed");
        }
    });
    timer.start(10);
    EXPECT_TRUE(test::WaitUntil([&] { return ticks >= 3; }));
    timer.stop();
    ASSERT_EQ(errors_.size(), 3u);
    EXPECT_EQ(errors_[2], "tick failed");
}

// The program around a real settings window whose speed text is not a
// number: every cycle fails, and the report shows one box at a time while
// the detector polls on behind it.
TEST(ErrorReportWithSettingsWindow,
     BadSpeedTextReachesTheReportAsOneBoxAtATimeWithPollingBehindIt) {
    test::TAssembledWindows program(std::chrono::milliseconds(20));
    TProgramEvents& report = program.events;
    auto* speed = program.settings.findChild<QComboBox*>("CB_ComPort_Speed");
    ASSERT_NE(speed, nullptr);
    speed->setEditText("abc");

    int mostBoxes = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        mostBoxes = std::max(mostBoxes, static_cast<int>(test::VisibleMessageBoxes().size()));
    });
    watch.start(5);
    TBoxSeen seen;
    test::WhenModalOpen([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        QTimer::singleShot(600, box, [&, box] {
            // No further cycle may open the next box before the test looks;
            // errors already on their way reach the report while this one is
            // open.
            program.program.Detector().Stop();
            QTimer::singleShot(100, box, [&, box] { CloseWithOk(*box, seen); });
        });
    });
    ASSERT_TRUE(
        test::WaitUntil([&] { return report.ShownReports() == 1 && !report.ErrorBoxOpen(); }));
    watch.stop();

    EXPECT_EQ(seen.text, "'abc' is not a valid integer value.");
    EXPECT_EQ(seen.visibleBoxes, 1);
    EXPECT_EQ(mostBoxes, 1);
    EXPECT_EQ(report.ShownReports(), 1);
    EXPECT_TRUE(test::VisibleMessageBoxes().isEmpty());
    EXPECT_GE(report.SuppressedReports(), 3);
}

}  // namespace
}  // namespace ornet5
