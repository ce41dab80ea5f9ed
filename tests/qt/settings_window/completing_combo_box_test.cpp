#include "app/qt/completing_combo_box.h"

#include <memory>

#include <gtest/gtest.h>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/settings_window_design.h"
#include "tests/qt/settings_window/window_test_support.h"

namespace ornet5 {
namespace {

class CompletingComboBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::TestApplication();
        port_ = std::make_unique<TCompletingComboBox>(settings_design::kPortEntries, 2, nullptr);
        speed_ = std::make_unique<TCompletingComboBox>(settings_design::kSpeedEntries, 1, nullptr);
    }

    // Replaces the whole text by typing, as the user does after selecting it.
    static void TypeFresh(TCompletingComboBox& box, const char* keys) {
        box.lineEdit()->selectAll();
        QTest::keyClick(box.lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(box.lineEdit(), QString::fromUtf8(keys));
    }

    std::unique_ptr<TCompletingComboBox> port_;
    std::unique_ptr<TCompletingComboBox> speed_;
};

TEST_F(CompletingComboBoxTest, TypedPrefixCompletesToFirstEntryIgnoringCase) {
    TypeFresh(*port_, "com2");
    EXPECT_EQ(port_->currentIndex(), 1);
    EXPECT_EQ(port_->currentText(), "COM2");

    TypeFresh(*speed_, "48");
    EXPECT_EQ(speed_->currentIndex(), 2);
    EXPECT_EQ(speed_->currentText(), "4800");
    // The completed part is selected, so that typing on replaces it.
    EXPECT_EQ(speed_->lineEdit()->selectedText(), "00");
}

TEST_F(CompletingComboBoxTest, TextThatBeginsNoEntryStaysAsTypedWithNoSelection) {
    TypeFresh(*port_, "COM5");
    EXPECT_EQ(port_->currentIndex(), -1);
    EXPECT_EQ(port_->currentText(), "COM5");

    // Numbers the list does not offer can be typed, also when a prefix of
    // them completes to an entry on the way.
    for (const char* number : {"38400", "115200", "96000", "2401"}) {
        TypeFresh(*speed_, number);
        EXPECT_EQ(speed_->currentText(), QString::fromUtf8(number)) << number;
    }
    TypeFresh(*speed_, "38400");
    EXPECT_EQ(speed_->currentIndex(), -1);

    // A prefix of an entry is completed; Delete takes the completion away.
    TypeFresh(*speed_, "480");
    EXPECT_EQ(speed_->currentText(), "4800");
    QTest::keyClick(speed_->lineEdit(), Qt::Key_Delete);
    EXPECT_EQ(speed_->currentText(), "480");
    EXPECT_EQ(speed_->currentIndex(), -1);
}

TEST_F(CompletingComboBoxTest, DeletingDoesNotCompleteAgain) {
    TypeFresh(*port_, "COM3");
    ASSERT_EQ(port_->currentIndex(), 2);
    QTest::keyClick(port_->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(port_->currentText(), "COM");
    EXPECT_EQ(port_->currentIndex(), -1);

    QTest::keyClicks(port_->lineEdit(), "4");
    EXPECT_EQ(port_->currentIndex(), 3);
    EXPECT_EQ(port_->currentText(), "COM4");

    TypeFresh(*speed_, "");
    EXPECT_EQ(speed_->currentText(), "");
    EXPECT_EQ(speed_->currentIndex(), -1);
}

// "COM3" cut to "COM" through the context menu would otherwise complete to
// COM1 and change the port that is polled.
TEST_F(CompletingComboBoxTest, ContextMenuCutAndDeleteDoNotCompleteAgain) {
    for (const QString& command : {QLineEdit::tr("Cu&t"), QLineEdit::tr("Delete")}) {
        TypeFresh(*port_, "COM3");
        QLineEdit& edit = *port_->lineEdit();
        edit.setSelection(3, 1);
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(&edit, &menuEvent);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text().section(u'\t', 0, 0) == command) {
                action->trigger();
            }
        }
        menu->close();
        EXPECT_EQ(port_->currentText(), "COM") << command.toStdString();
        EXPECT_EQ(port_->currentIndex(), -1) << command.toStdString();
    }
}

TEST_F(CompletingComboBoxTest, EnterKeepsTheListAndTheTypedText) {
    TypeFresh(*speed_, "38400");
    QTest::keyClick(speed_->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(speed_->count(), 5);
    EXPECT_EQ(speed_->currentText(), "38400");
    EXPECT_EQ(speed_->currentIndex(), -1);
}

}  // namespace
}  // namespace ornet5
