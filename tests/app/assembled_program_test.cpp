// The program's windows as the program puts them together, polling the
// detector simulator: what a person glancing at the main window sees, what
// a screen reader reads, where poll errors go, and the fonts.

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/accel_label.h"
#include "app/face.h"
#include "app/guarded_application.h"
#include "app/program.h"
#include "settings/trelan_adc_face.h"
#include "tests/app/app_test_support.h"
#include "tests/app/child_process.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

// How a label's text is drawn now: pixels in the normal text colour, and
// pixels of any other colour than the background.
struct TInk {
    int normal = 0;
    int other = 0;
};

TInk InkOf(TAccelLabel& label) {
    const QImage image = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb normal = label.palette().color(QPalette::Active, QPalette::WindowText).rgb();
    const QRgb background = label.palette().color(QPalette::Window).rgb();
    TInk ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ink.normal += pixel == normal ? 1 : 0;
            ink.other += pixel != normal && pixel != background ? 1 : 0;
        }
    }
    return ink;
}

class AssembledProgram : public testing::Test {
  protected:
    AssembledProgram() : program_(*qobject_cast<TGuardedApplication*>(qApp)) {}

    // The simulator stands in for the detector at COM3, the design's port.
    std::unique_ptr<test::TChildProcess> StartSimulator() {
        const std::string link = std::string(std::getenv("XDG_CONFIG_HOME")) + "/ornet5/com3";
        auto simulator = std::make_unique<test::TChildProcess>(
            ORNET5_SIM_EXECUTABLE, std::vector<std::string>{"--link", link},
            std::vector<std::string>{});
        EXPECT_TRUE(simulator->WaitForOutput("ready", 10s)) << simulator->Output();
        return simulator;
    }

    TProgram program_;
};

TEST_F(AssembledProgram, DoseOfAGoneDetectorIsGreyUntilTheNextReading) {
    auto simulator = StartSimulator();
    // Polls far faster than the design's 3 s, each a whole exchange.
    program_.SettingsWindow().TimerTrelan().setInterval(300);
    TFace& face = program_.MainWindow();
    TAccelLabel& dose = face.LabelDose();
    ASSERT_TRUE(test::WaitUntil([&] {
        return face.DoseText() != TFace::kDosePlaceholder && InkOf(dose).normal > 0;
    })) << simulator->Output();
    const std::string reading = face.DoseText();

    simulator->Signal(SIGTERM);
    ASSERT_TRUE(simulator->WaitForExit(10s).has_value());
    ASSERT_TRUE(test::WaitUntil([&] { return InkOf(dose).normal == 0; }))
        << "the old reading still looks current";
    EXPECT_GT(InkOf(dose).other, 0) << "the old reading is still drawn";
    EXPECT_EQ(face.DoseText(), reading);

    simulator = StartSimulator();
    EXPECT_TRUE(test::WaitUntil([&] { return InkOf(dose).normal > 0; })) << simulator->Output();
    program_.SettingsWindow().TimerTrelan().stop();
}

TEST_F(AssembledProgram, ScreenReadersReadTheLabelsAndTheUnitChoice) {
    TFace& face = program_.MainWindow();
    face.SetDoseText("0,15");
    QAccessibleInterface* dose = QAccessible::queryAccessibleInterface(&face.LabelDose());
    ASSERT_NE(dose, nullptr);
    EXPECT_EQ(dose->role(), QAccessible::StaticText);
    EXPECT_EQ(dose->text(QAccessible::Name), "0,15");
    face.SetTitleText("Измерение в мк&Р/ч");
    QAccessibleInterface* title = QAccessible::queryAccessibleInterface(&face.LabelTitle());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->role(), QAccessible::StaticText);
    EXPECT_EQ(title->text(QAccessible::Name), QString::fromUtf8("Измерение в мкР/ч"));

    auto* zv = program_.SettingsWindow().findChild<QRadioButton*>("rbZv");
    auto* rentgen = program_.SettingsWindow().findChild<QRadioButton*>("rbRentgen");
    ASSERT_NE(zv, nullptr);
    ASSERT_NE(rentgen, nullptr);
    QAccessibleInterface* zvChoice = QAccessible::queryAccessibleInterface(zv);
    QAccessibleInterface* rentgenChoice = QAccessible::queryAccessibleInterface(rentgen);
    ASSERT_NE(zvChoice, nullptr);
    ASSERT_NE(rentgenChoice, nullptr);
    EXPECT_EQ(zvChoice->role(), QAccessible::RadioButton);
    EXPECT_EQ(zvChoice->text(QAccessible::Name), QString::fromUtf8("Измерение в мкЗв/ч"));
    EXPECT_TRUE(zvChoice->state().checked);
    EXPECT_EQ(rentgenChoice->role(), QAccessible::RadioButton);
    EXPECT_FALSE(rentgenChoice->state().checked);

    // A screen reader's press chooses the unit as a click does.
    rentgenChoice->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(rentgen->isChecked());
    EXPECT_TRUE(rentgenChoice->state().checked);
    EXPECT_FALSE(zvChoice->state().checked);
    EXPECT_EQ(face.LabelTitle().Text(), QString::fromUtf8("Измерение в мк&Р/ч"));
}

TEST_F(AssembledProgram, EveryPollErrorWhileTheBoxIsOpenIsALineOnStandardError) {
    auto* speed = program_.SettingsWindow().findChild<QComboBox*>("CB_ComPort_Speed");
    ASSERT_NE(speed, nullptr);
    speed->setEditText("abc");
    QTimer& timer = program_.SettingsWindow().TimerTrelan();
    timer.setInterval(20);
    int boxes = 0;
    test::WhenModalOpen([&](QWidget& modal) {
        ++boxes;
        QTimer::singleShot(400, &modal, [&] {
            // Errors already posted still find this box open.
            timer.stop();
            QTimer::singleShot(100, &modal, [&modal] {
                qobject_cast<QMessageBox*>(&modal)->button(QMessageBox::Ok)->click();
            });
        });
    });
    testing::internal::CaptureStderr();
    test::WaitUntil([&] { return boxes == 1 && QApplication::activeModalWidget() == nullptr; });
    const std::string standardError = testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxes, 1);
    const std::string line =
        "ORNET5: error while an error report is open: 'abc' is not a valid integer value.\n";
    int lines = 0;
    for (std::size_t at = standardError.find(line); at != std::string::npos;
         at = standardError.find(line, at + 1)) {
        ++lines;
    }
    // Ticks every 20 ms for 400 ms behind the box.
    EXPECT_GE(lines, 5) << standardError;
    EXPECT_TRUE(test::VisibleMessageBoxes().isEmpty());
}

TEST_F(AssembledProgram, AllWindowsFallBackToTheSameFont) {
    const std::string mainFamily = QFontInfo(program_.MainWindow().font()).family().toStdString();
    const std::string settingsFamily =
        QFontInfo(program_.SettingsWindow().font()).family().toStdString();
    EXPECT_EQ(settingsFamily, mainFamily);
    EXPECT_EQ(program_.SettingsWindow().font().pixelSize(), 11);
}

}  // namespace
}  // namespace ornet5
