#include "app/qt/exclusive_radio_button.h"

#include <gtest/gtest.h>
#include <memory>

#include <QTest>
#include <QWidget>

#include "tests/qt/settings_window/window_test_support.h"

namespace ornet5 {
namespace {

class ExclusiveRadioButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::TestApplication();
        parent_ = std::make_unique<QWidget>();
        first_ = new TExclusiveRadioButton(parent_.get());
        second_ = new TExclusiveRadioButton(parent_.get());
        first_->setText("first");
        second_->setText("second");
        first_->setGeometry(0, 0, 120, 20);
        second_->setGeometry(0, 30, 120, 20);
        first_->setChecked(true);
        QObject::connect(first_, &QAbstractButton::toggled,
                         [this](bool on) { firstChecks_ += on ? 1 : 0; });
        QObject::connect(second_, &QAbstractButton::toggled,
                         [this](bool on) { secondChecks_ += on ? 1 : 0; });
    }

    std::unique_ptr<QWidget> parent_;
    TExclusiveRadioButton* first_ = nullptr;
    TExclusiveRadioButton* second_ = nullptr;
    int firstChecks_ = 0;
    int secondChecks_ = 0;
};

TEST_F(ExclusiveRadioButtonTest, CheckingOneUnchecksTheOther) {
    QTest::mouseClick(second_, Qt::LeftButton);
    EXPECT_TRUE(second_->isChecked());
    EXPECT_FALSE(first_->isChecked());
    EXPECT_EQ(secondChecks_, 1);

    first_->setChecked(true);
    EXPECT_FALSE(second_->isChecked());
    EXPECT_EQ(firstChecks_, 1);
}

TEST_F(ExclusiveRadioButtonTest, UserCannotUncheckButCodeCan) {
    QTest::mouseClick(first_, Qt::LeftButton);
    EXPECT_TRUE(first_->isChecked());
    first_->setChecked(true);
    EXPECT_EQ(firstChecks_, 0);

    first_->setChecked(false);
    EXPECT_FALSE(first_->isChecked());
    EXPECT_FALSE(second_->isChecked());
}

TEST_F(ExclusiveRadioButtonTest, KeyboardChecksAndMovesWithinTheGroup) {
    QTest::keyClick(second_, Qt::Key_Space);
    EXPECT_TRUE(second_->isChecked());
    QTest::keyClick(second_, Qt::Key_Down);
    EXPECT_TRUE(first_->isChecked());
    EXPECT_FALSE(second_->isChecked());
    QTest::keyClick(first_, Qt::Key_Up);
    EXPECT_TRUE(second_->isChecked());
}

TEST_F(ExclusiveRadioButtonTest, OnlyTheCheckedButtonIsATabStop) {
    EXPECT_TRUE(first_->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(second_->focusPolicy() & Qt::TabFocus);
    second_->setChecked(true);
    EXPECT_FALSE(first_->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(second_->focusPolicy() & Qt::TabFocus);
    second_->setChecked(false);
    EXPECT_FALSE(second_->focusPolicy() & Qt::TabFocus);
}

}  // namespace
}  // namespace ornet5
