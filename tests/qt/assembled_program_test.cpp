// The program's windows as the program puts them together, polling the
// detector simulator: what a person glancing at the main window sees, what
// a screen reader reads, where poll errors go, and the fonts.

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/qt/accel_label.h"
#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/program.h"
#include "app/qt/trelan_adc_face.h"
#include "tests/qt/app_test_support.h"
#include "tests/support/child_process.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

// Whether any of the label's text is drawn in the normal text colour.
bool DrawnInNormalInk(TAccelLabel& label) {
    const QImage image = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb ink = label.palette().color(QPalette::Active, QPalette::WindowText).rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == ink) {
                return true;
            }
        }
    }
    return false;
}

class AssembledProgram : public testing::Test {
  protected:
    // Polls far faster than every 3 s.
    AssembledProgram() : program_(*qobject_cast<TGuardedApplication*>(qApp), 20ms) {}

    // The simulator stands in for the detector at COM3, the design's port.
    static std::unique_ptr<test::TChildProcess> StartSimulator() {
        const std::string link = std::string(std::getenv("XDG_CONFIG_HOME")) + "/ornet5/com3";
        auto simulator = std::make_unique<test::TChildProcess>(
            ORNET5_SIM_PATH, std::vector<std::string>{"--link", link}, std::vector<std::string>{});
        EXPECT_TRUE(simulator->WaitForOutput("ready", 10s)) << simulator->Output();
        return simulator;
    }

    TProgram program_;
};

TEST_F(AssembledProgram, DoseOfAGoneDetectorIsGreyUntilTheNextReading) {
    auto simulator = StartSimulator();
    TFace& face = program_.MainWindow();
    ASSERT_TRUE(test::WaitUntil([&] {
        return face.Core().DoseText() != face_design::kDosePlaceholder &&
               DrawnInNormalInk(face.LabelDose());
    })) << simulator->Output();
    simulator->Signal(SIGTERM);
    ASSERT_TRUE(simulator->WaitForExit(10s).has_value());
    EXPECT_TRUE(test::WaitUntil([&] { return !DrawnInNormalInk(face.LabelDose()); }));
    // A reading on its way as the detector went may still have come; the
    // failed cycles after it leave it as it is, grey.
    const std::string reading = face.Core().DoseText();
    QTest::qWait(300);
    EXPECT_EQ(face.Core().DoseText(), reading);
    EXPECT_FALSE(DrawnInNormalInk(face.LabelDose()));

    simulator = StartSimulator();
    EXPECT_TRUE(test::WaitUntil([&] { return DrawnInNormalInk(face.LabelDose()); }));
}

TEST_F(AssembledProgram, ScreenReadersReadTheLabelsAndTheUnitChoice) {
    TFace& face = program_.MainWindow();
    face.Core().SetDoseText("0,15");
    face.Core().SetTitleText("Измерение в мк&Р/ч");
    for (auto [label, name] : {std::pair{&face.LabelDose(), "0,15"},
                               std::pair{&face.LabelTitle(), "Измерение в мкР/ч"}}) {
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(label);
        EXPECT_EQ(read->role(), QAccessible::StaticText);
        EXPECT_EQ(read->text(QAccessible::Name), QString::fromUtf8(name));
    }
    auto* rentgen = program_.SettingsWindow().findChild<QRadioButton*>("rbRentgen");
    QAccessibleInterface* choice = QAccessible::queryAccessibleInterface(rentgen);
    EXPECT_EQ(choice->role(), QAccessible::RadioButton);
    EXPECT_EQ(choice->text(QAccessible::Name), QString::fromUtf8("Измерение в мкР/ч"));
    EXPECT_FALSE(choice->state().checked);
    choice->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(choice->state().checked);
}

TEST_F(AssembledProgram, EveryPollErrorWhileTheBoxIsOpenIsALineOnStandardError) {
    program_.SettingsWindow().findChild<QComboBox*>("CB_ComPort_Speed")->setEditText("abc");
    int boxes = 0;
    test::WhenModalOpen([&](QWidget& box) {
        ++boxes;
        // Polls behind the box for 400 ms; errors already on their way when
        // the detector stops still find it open.
        QTimer::singleShot(400, &box, [&] {
            program_.Detector().Stop();
            QTimer::singleShot(100, &box, [&box] { box.close(); });
        });
    });
    testing::internal::CaptureStderr();
    test::WaitUntil([&] { return boxes == 1 && QApplication::activeModalWidget() == nullptr; });
    const std::string standardError = testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxes, 1);
    const std::string line =
        "ORNET5: error while an error report is open: 'abc' is not a valid integer value.\n";
    int lines = 0;
    for (auto at = standardError.find(line); at != std::string::npos;
         at = standardError.find(line, at + 1)) {
        ++lines;
    }
    EXPECT_GE(lines, 5) << standardError;
}

TEST_F(AssembledProgram, AllWindowsFallBackToTheSameFont) {
    EXPECT_EQ(QFontInfo(program_.SettingsWindow().font()).family().toStdString(),
              QFontInfo(program_.MainWindow().font()).family().toStdString());
}

}  // namespace
}  // namespace ornet5
