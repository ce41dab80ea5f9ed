#include "app/qt/face.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QAction>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>

#include "app/program_events.h"
#include "app/qt/accel_label.h"
#include "tests/qt/app_test_support.h"

namespace ornet5 {
namespace {

// Records what the main window's events ask of the program's windows.
class TRecordingWindows : public TProgramWindows {
  public:
    void ShowSettingsWindow() override { calls.push_back("show"); }
    void CloseSettingsWindow() override { calls.push_back("close"); }
    void SetTitleText(const std::string& text) override { calls.push_back("title " + text); }
    void RunAboutBox() override { calls.push_back("about"); }
    void ShowJournalWindow() override { calls.push_back("journal"); }
    void ShowErrorBox(const std::string&, const std::string& text) override {
        calls.push_back("box " + text);
    }
    std::vector<std::string> calls;
};

TEST(FaceWindow, FollowsTheDesign) {
    TFace face;
    EXPECT_EQ(face.windowTitle(), QString::fromUtf8("ОРНЕТ-5"));
    EXPECT_EQ(face.size(), QSize(385, 146));
    EXPECT_EQ(face.minimumSize(), face.maximumSize());
    EXPECT_TRUE(face.isWindow());

    const Qt::WindowFlags flags = face.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));

    EXPECT_EQ(face.palette().color(QPalette::Window), face.palette().color(QPalette::Button));
    EXPECT_TRUE(face.autoFillBackground());
    EXPECT_EQ(face.font().pixelSize(), 11);
    EXPECT_FALSE(face.font().bold());
}

TEST(FaceWindow, LabelsFollowTheDesign) {
    TFace face;
    TAccelLabel& title = face.LabelTitle();
    TAccelLabel& dose = face.LabelDose();
    EXPECT_EQ(title.geometry(), QRect(0, 0, 385, 20));
    EXPECT_EQ(dose.geometry(), QRect(0, 24, 385, 121));
    EXPECT_EQ(title.Text(), QString::fromUtf8("Текущее значение мощности дозы, мкЗв/ч"));
    EXPECT_EQ(dose.Text(), QString::fromUtf8(face_design::kDosePlaceholder));

    EXPECT_EQ(title.font().pixelSize(), 16);
    EXPECT_TRUE(title.font().bold());
    EXPECT_EQ(dose.font().pixelSize(), 107);
    EXPECT_TRUE(dose.font().bold());
    const QString doseFamily = QFontInfo(dose.font()).family();
    EXPECT_TRUE(doseFamily == "Times New Roman" || doseFamily == "Liberation Serif")
        << doseFamily.toStdString();

    // The fixed texts fit their labels with the fonts at hand.
    EXPECT_LE(QFontMetrics(title.font()).horizontalAdvance(title.Text()), title.width());
    EXPECT_LE(QFontMetrics(dose.font()).horizontalAdvance(dose.Text()), dose.width());
    EXPECT_LE(QFontMetrics(dose.font()).horizontalAdvance("0,15"), dose.width());

    for (TAccelLabel* label : {&title, &dose}) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
}

TEST(FaceWindow, TheCoreWritesTheLabelsAndTheDosesInk) {
    TFace face;
    TMainDisplay& display = face.Core();
    display.SetDoseText("0,15");
    EXPECT_EQ(face.LabelDose().Text(), "0,15");
    display.SetTitleText("Измерение в мк&Р/ч");
    EXPECT_EQ(face.LabelTitle().Text(), QString::fromUtf8("Измерение в мк&Р/ч"));
    const QColor normal = face.LabelDose().palette().color(QPalette::WindowText);
    display.SetAlarm(true);
    EXPECT_EQ(face.LabelDose().palette().color(QPalette::WindowText), QColor(Qt::red));
    display.SetDoseCurrent(false);
    EXPECT_FALSE(face.LabelDose().isEnabled());
    display.SetAlarm(false);
    display.SetDoseCurrent(true);
    EXPECT_TRUE(face.LabelDose().isEnabled());
    EXPECT_EQ(face.LabelDose().palette().color(QPalette::WindowText), normal);
}

TEST(FaceMenu, HasTheThreeEntriesThenTheJournal) {
    TFace face;
    const QList<QAction*> entries = face.PopupMenu1().actions();
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[0], &face.actOptionsShow());
    EXPECT_EQ(entries[0]->text(), QString::fromUtf8("&Настройки связи"));
    EXPECT_EQ(entries[0]->toolTip(), QString::fromUtf8("Настройки связи с ОРНЕТ-5"));
    EXPECT_TRUE(entries[0]->shortcut().isEmpty());
    EXPECT_TRUE(entries[0]->isEnabled());
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[2]->text(), QString::fromUtf8("&О программе"));
    EXPECT_TRUE(entries[3]->isSeparator());
    EXPECT_EQ(entries[4]->text(), QString::fromUtf8("&Журнал доз..."));
    // Hints are stored, never shown.
    EXPECT_FALSE(face.PopupMenu1().toolTipsVisible());
    EXPECT_TRUE(entries[0]->statusTip().isEmpty());
}

TEST(FaceMenu, SettingsEntryShowsTheSettingsWindowEachTime) {
    TFace face;
    TRecordingWindows windows;
    TProgramEvents events(windows);
    face.SetEvents(&events);
    face.actOptionsShow().trigger();
    face.actOptionsShow().trigger();
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"show", "show"}));
    face.SetEvents(nullptr);
}

class FaceShown : public testing::Test {
  protected:
    FaceShown() {
        face_.SetEvents(&events_);
        face_.move(40, 30);
        face_.show();
        face_.activateWindow();
        test::WaitUntil([this] { return face_.isActiveWindow(); });
    }
    ~FaceShown() override {
        face_.PopupMenu1().hide();
        face_.SetEvents(nullptr);
    }

    bool MenuOpen() { return face_.PopupMenu1().isVisible(); }

    TRecordingWindows windows_;
    TProgramEvents events_{windows_};
    TFace face_;
};

TEST_F(FaceShown, FirstActivationShowsAndClosesTheSettingsWindowOnce) {
    ASSERT_TRUE(face_.isActiveWindow());
    EXPECT_EQ(windows_.calls, (std::vector<std::string>{"show", "close"}));
    EXPECT_FALSE(events_.FirstActivationPending());

    // Later activations do nothing.
    QWidget other;
    other.show();
    other.activateWindow();
    test::WaitUntil([&] { return other.isActiveWindow(); });
    face_.activateWindow();
    ASSERT_TRUE(test::WaitUntil([this] { return face_.isActiveWindow(); }));
    face_.FormActivate();
    EXPECT_EQ(windows_.calls.size(), 2u);
}

TEST_F(FaceShown, RightClickOnEitherLabelOrTheBackgroundOpensTheMenuAtThePointer) {
    const QPoint onTitle = face_.LabelTitle().geometry().center();
    const QPoint onDose = face_.LabelDose().geometry().center();
    const QPoint onGap(200, 22);
    for (const QPoint at : {onTitle, onDose, onGap}) {
        ASSERT_FALSE(MenuOpen());
        QTest::mouseClick(face_.windowHandle(), Qt::RightButton, {}, at);
        ASSERT_TRUE(test::WaitUntil([this] { return MenuOpen(); })) << at.x() << "," << at.y();
        EXPECT_EQ(face_.PopupMenu1().pos(), face_.mapToGlobal(at));
        face_.PopupMenu1().hide();
    }
}

TEST_F(FaceShown, LeftClickOpensNothing) {
    QTest::mouseClick(face_.windowHandle(), Qt::LeftButton, {}, QPoint(100, 60));
    QTest::qWait(50);
    EXPECT_FALSE(MenuOpen());
}

TEST_F(FaceShown, MenuKeyAndShiftF10OpenTheMenuAtTheClientAreasCorner) {
    QTest::keyClick(face_.windowHandle(), Qt::Key_Menu);
    ASSERT_TRUE(test::WaitUntil([this] { return MenuOpen(); }));
    EXPECT_EQ(face_.PopupMenu1().pos(), face_.mapToGlobal(QPoint(0, 0)));
    face_.PopupMenu1().hide();

    QTest::keyClick(face_.windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_TRUE(test::WaitUntil([this] { return MenuOpen(); }));
    EXPECT_EQ(face_.PopupMenu1().pos(), face_.mapToGlobal(QPoint(0, 0)));
    face_.PopupMenu1().hide();

    QTest::keyClick(face_.windowHandle(), Qt::Key_F10);
    QTest::qWait(50);
    EXPECT_FALSE(MenuOpen());
}

}  // namespace
}  // namespace ornet5
