// Typed port and speed texts of any kind, and clicks while the detector
// keeps polling, against the simulator: nothing crashes, a failure is a
// status text or the one error report, and polling recovers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/app_title.h"
#include "app/qt/about_box.h"
#include "app/qt/window_references.h"
#include "tests/qt/app_test_support.h"
#include "tests/support/child_process.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

class BadInput : public testing::Test {
  protected:
    BadInput()
        : program_(kPollPeriod),
          simulator_(ORNET5_SIM_PATH,
                     {"--link", std::string(std::getenv("XDG_CONFIG_HOME")) + "/ornet5/com3"}, {}) {
        port_ = program_.settings.findChild<QComboBox*>("CB_ComPort");
        speed_ = program_.settings.findChild<QComboBox*>("CB_ComPort_Speed");
        // Every box the report opens is answered at once, and counted.
        QObject::connect(&closer_, &QTimer::timeout, [this] {
            const QList<QMessageBox*> boxes = test::VisibleMessageBoxes();
            mostBoxes_ = std::max(mostBoxes_, static_cast<int>(boxes.size()));
            for (QMessageBox* box : boxes) {
                box->button(QMessageBox::Ok)->click();
            }
        });
        closer_.start(10);
    }
    // Polls far faster than every 3 s.
    static constexpr auto kPollPeriod = std::chrono::milliseconds(20);

    void Tick(int ticks) { QTest::qWait(ticks * static_cast<int>(kPollPeriod.count())); }

    test::TAssembledWindows program_;
    test::TChildProcess simulator_;
    QComboBox* port_ = nullptr;
    QComboBox* speed_ = nullptr;
    QTimer closer_;
    int mostBoxes_ = 0;
};

TEST_F(BadInput, AnyTypedTextIsAStatusOrOneReportAndPollingRecovers) {
    ASSERT_TRUE(simulator_.WaitForOutput("ready", 10s)) << simulator_.Output();
    ASSERT_NE(port_, nullptr);
    ASSERT_NE(speed_, nullptr);
    const std::vector<std::pair<QString, QString>> typed{
        {"", ""},
        {"COM5", "abc"},
        {"com2", "<b>9600</b>"},
        {"COM", "-1"},
        {"\\\\.\\COM3", "0"},
        {QString(QChar(0)) + "1", QString(QChar(0))},
        {QString(10000, u'x'), QString(10000, u'9')},
        {QString::fromUtf8("СОМ3"), "99999999999999999999"},
        {"COM3", "0x"},
        {"COM3", " 0x2580"},
        {"COM3", "1"},
    };
    for (const auto& [portText, speedText] : typed) {
        port_->setEditText(portText);
        speed_->setEditText(speedText);
        Tick(4);
        EXPECT_LE(mostBoxes_, 1) << speedText.left(20).toStdString();
    }
    EXPECT_GE(program_.events.ShownReports(), 1);

    // Mended texts: the detector's readings arrive again.
    port_->setEditText("COM3");
    speed_->setEditText("9600");
    program_.face.Core().SetDoseText("none yet");
    EXPECT_TRUE(
        test::WaitUntil([this] { return program_.face.Core().DoseText() != "none yet"; }, 10s))
        << simulator_.Output();
}

TEST_F(BadInput, MenuAndAboutBoxWhileThePollTimerRuns) {
    ASSERT_TRUE(simulator_.WaitForOutput("ready", 10s)) << simulator_.Output();
    program_.face.show();
    program_.face.activateWindow();
    for (int round = 0; round < 3; ++round) {
        QTest::mouseClick(program_.face.windowHandle(), Qt::RightButton, {}, QPoint(100, 80));
        ASSERT_TRUE(test::WaitUntil([this] { return program_.face.PopupMenu1().isVisible(); }));
        program_.face.PopupMenu1().hide();
        program_.face.actOptionsShow().trigger();
        // The about box, whatever error box the closer may be answering.
        test::WhenModalOpen([](QWidget&) {
            QTimer::singleShot(100, [] {
                if (AboutBox != nullptr) {
                    QTest::keyClick(AboutBox, Qt::Key_Return);
                }
            });
        });
        program_.face.NAboutClick();
    }
    EXPECT_TRUE(program_.settings.isVisible());
    EXPECT_EQ(program_.events.ShownReports(), 0);
    EXPECT_TRUE(test::WaitUntil(
        [this] { return program_.face.Core().DoseText() != face_design::kDosePlaceholder; }, 10s));
}

}  // namespace
}  // namespace ornet5
