#include "app/qt/trelan_adc_face.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <QClipboard>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "tests/qt/settings_window/window_test_support.h"

namespace ornet5 {
namespace {

const std::string kZvHeading = "Измерение в мк&Зв/ч";
const std::string kRentgenHeading = "Измерение в мк&Р/ч";

class TrelanADCFaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::TestApplication();
        window_ = std::make_unique<TTrelanADCFace>(fixture_.Services());
    }

    template <class T>
    T& Control(const char* name) {
        T* control = window_->findChild<T*>(QString::fromUtf8(name));
        if (control == nullptr) {
            ADD_FAILURE() << "no control " << name;
            throw std::runtime_error(name);
        }
        return *control;
    }

    void TypeSpeed(const char* text) {
        QLineEdit& edit = *Control<QComboBox>("CB_ComPort_Speed").lineEdit();
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Delete);
        test::TypeText(edit, QString::fromUtf8(text));
    }

    // What the window last handed to the detector, once the edit that
    // changed it is over.
    TPollChoices Chosen() {
        QApplication::processEvents();
        return fixture_.chosen.back();
    }

    QString StatusText() { return Control<QStatusBar>("StatusBar").currentMessage(); }

    test::TTempConfigHome configHome_;
    test::TServicesFixture fixture_;
    std::unique_ptr<TTrelanADCFace> window_;
};

struct TPlace {
    const char* name;
    const char* parent;
    QRect geometry;
};

TEST_F(TrelanADCFaceTest, ControlsSitAtTheirDesignPlaces) {
    const TPlace places[] = {
        {"GroupBox1", "TrelanADCFace", {8, 0, 161, 81}},
        {"CB_ComPort", "GroupBox1", {8, 16, 145, 21}},
        {"CB_ComPort_Speed", "GroupBox1", {8, 48, 145, 21}},
        {"GroupBox2", "TrelanADCFace", {176, 0, 161, 49}},
        {"LE_DeviceAdr", "GroupBox2", {8, 16, 145, 21}},
        {"rbZv", "TrelanADCFace", {176, 56, 161, 17}},
        {"rbRentgen", "TrelanADCFace", {176, 80, 161, 17}},
        {"StatusBar", "TrelanADCFace", {0, 98, 343, 19}},
    };
    for (const TPlace& place : places) {
        QWidget& control = Control<QWidget>(place.name);
        EXPECT_EQ(control.geometry(), place.geometry) << place.name;
        EXPECT_EQ(control.parentWidget()->objectName(), place.parent) << place.name;
        if (control.objectName() != "StatusBar") {
            EXPECT_EQ(control.font().pixelSize(), 11) << place.name;
        }
        EXPECT_TRUE(control.toolTip().isEmpty()) << place.name;
    }
}

TEST_F(TrelanADCFaceTest, WindowHasItsDialogFrameAndDesignPlace) {
    EXPECT_EQ(window_->windowTitle(), "Измеритель на Trelan");
    EXPECT_EQ(window_->minimumSize(), QSize(343, 117));
    EXPECT_EQ(window_->maximumSize(), QSize(343, 117));
    EXPECT_EQ(window_->pos(), QPoint(360, 236));
    EXPECT_EQ(window_->font().pixelSize(), 11);
    const Qt::WindowFlags flags = window_->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint | Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(window_->testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(TrelanADCFaceTest, ControlsStartWithTheirDesignTexts) {
    // "СОМ" in Cyrillic letters, not Latin ones.
    EXPECT_EQ(Control<QGroupBox>("GroupBox1").title().toStdString(),
              "\xD0\xA1\xD0\x9E\xD0\x9C-порт");
    EXPECT_EQ(Control<QGroupBox>("GroupBox2").title(), "Адрес ORNET-5 (4.2.zzz)");

    auto& port = Control<QComboBox>("CB_ComPort");
    auto& speed = Control<QComboBox>("CB_ComPort_Speed");
    EXPECT_TRUE(port.isEditable());
    EXPECT_TRUE(speed.isEditable());
    const QStringList ports{"COM1", "COM2", "COM3", "COM4"};
    const QStringList speeds{"19200", "9600", "4800", "2400", "1200"};
    ASSERT_EQ(port.count(), ports.size());
    ASSERT_EQ(speed.count(), speeds.size());
    for (int i = 0; i < port.count(); ++i) {
        EXPECT_EQ(port.itemText(i), ports[i]);
    }
    for (int i = 0; i < speed.count(); ++i) {
        EXPECT_EQ(speed.itemText(i), speeds[i]);
    }
    EXPECT_EQ(port.currentIndex(), 2);
    EXPECT_EQ(port.currentText(), "COM3");
    EXPECT_EQ(speed.currentIndex(), 1);
    EXPECT_EQ(speed.currentText(), "9600");

    auto& address = Control<QLineEdit>("LE_DeviceAdr");
    EXPECT_EQ(address.text(), "255.255.255");
    EXPECT_TRUE(address.isReadOnly());

    EXPECT_EQ(Control<QRadioButton>("rbZv").text().toStdString(), kZvHeading);
    EXPECT_EQ(Control<QRadioButton>("rbRentgen").text().toStdString(), kRentgenHeading);
    EXPECT_TRUE(Control<QRadioButton>("rbZv").isChecked());
    EXPECT_FALSE(Control<QRadioButton>("rbRentgen").isChecked());
    EXPECT_TRUE(StatusText().isEmpty());

    EXPECT_EQ(port.property("hint").toString(), "Номер COM-порта для обмена на компьютере");
    EXPECT_EQ(speed.property("hint").toString(), "Скорость COM-порта для обмена на компьютере");
    EXPECT_EQ(address.property("hint").toString(), "Адрес прибора в протоколе обмена TreLAN");

    EXPECT_EQ(Chosen(), (TPollChoices{2, "9600", false}));
    EXPECT_TRUE(fixture_.face.titleTexts.empty());
}

TEST_F(TrelanADCFaceTest, TabVisitsControlsInDesignOrder) {
    window_->ShowAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    Control<QComboBox>("CB_ComPort").setFocus(Qt::OtherFocusReason);
    // The unchecked radio button is no tab stop, so Tab wraps after rbZv.
    const char* order[] = {"CB_ComPort_Speed", "LE_DeviceAdr", "rbZv", "CB_ComPort"};
    for (const char* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // A combo box's edit field holds the focus on the box's behalf.
        if (focused != nullptr && qobject_cast<QComboBox*>(focused->parentWidget())) {
            focused = focused->parentWidget();
        }
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->objectName(), expected);
    }
}

TEST_F(TrelanADCFaceTest, TheUserChecksAUnitByMouseOrKeyboardButNeverUnchecksOne) {
    auto& zv = Control<QRadioButton>("rbZv");
    auto& rentgen = Control<QRadioButton>("rbRentgen");
    QTest::mouseClick(&zv, Qt::LeftButton);
    EXPECT_TRUE(zv.isChecked());
    EXPECT_TRUE(fixture_.face.titleTexts.empty());

    QTest::mouseClick(&rentgen, Qt::LeftButton);
    EXPECT_FALSE(zv.isChecked());
    EXPECT_EQ(fixture_.face.titleTexts, std::vector<std::string>{kRentgenHeading});
    EXPECT_TRUE(Chosen().rentgen);
    // Only the checked button is a tab stop.
    EXPECT_TRUE(rentgen.focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(zv.focusPolicy() & Qt::TabFocus);

    QTest::keyClick(&rentgen, Qt::Key_Up);
    EXPECT_TRUE(zv.isChecked());
    EXPECT_FALSE(rentgen.isChecked());
    QTest::keyClick(&zv, Qt::Key_Space);
    EXPECT_TRUE(zv.isChecked());
    EXPECT_EQ(fixture_.face.titleTexts.back(), kZvHeading);
    EXPECT_EQ(fixture_.face.titleTexts.size(), 2u);
    EXPECT_FALSE(Chosen().rentgen);
}

TEST_F(TrelanADCFaceTest, UnitHandlerErrorGoesToTheReport) {
    fixture_.face.titleError = "heading failed";
    QTest::mouseClick(&Control<QRadioButton>("rbRentgen"), Qt::LeftButton);
    EXPECT_TRUE(Control<QRadioButton>("rbRentgen").isChecked());
    EXPECT_FALSE(Control<QRadioButton>("rbZv").isChecked());
    ASSERT_EQ(fixture_.reportedErrors.size(), 1u);
    EXPECT_EQ(fixture_.reportedErrors[0], "heading failed.");
}

TEST_F(TrelanADCFaceTest, ShowRaisesAndCloseOnlyHides) {
    window_->ShowAndRaise();
    EXPECT_TRUE(window_->isVisible());
    window_->ShowAndRaise();
    EXPECT_TRUE(window_->isVisible());
    QPointer<TTrelanADCFace> guard(window_.get());
    EXPECT_TRUE(window_->close());
    QApplication::processEvents();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(guard.isNull());
}

TEST_F(TrelanADCFaceTest, WhatTheDetectorSaysIsShownWhileHidden) {
    window_->Core().ShowAddressText("4.2.31");
    window_->Core().ShowStatusText("Инициализация прошла успешно");
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Control<QLineEdit>("LE_DeviceAdr").text(), "4.2.31");
    EXPECT_EQ(StatusText(), "Инициализация прошла успешно");
}

TEST_F(TrelanADCFaceTest, PortTextThatNamesNoEntryHandsNoPortOver) {
    auto& port = Control<QComboBox>("CB_ComPort");
    for (const QString& text : {QString::fromUtf8("порт №1"), QString(300, QChar('7')),
                                QStringLiteral("COM1x"), QStringLiteral(" COM2")}) {
        port.lineEdit()->selectAll();
        QTest::keyClick(port.lineEdit(), Qt::Key_Delete);
        test::TypeText(*port.lineEdit(), text);
        EXPECT_EQ(port.currentIndex(), -1);
        EXPECT_EQ(Chosen().portIndex, -1);
    }
    EXPECT_TRUE(fixture_.reportedErrors.empty());
}

// The detector converts it at each cycle; a text that is no number fails
// there, until it is mended.
TEST_F(TrelanADCFaceTest, TypedSpeedIsHandedOverAsTyped) {
    for (const char* text : {"abc", "", "девять", "96 00", "38400", "$4B00"}) {
        TypeSpeed(text);
        EXPECT_EQ(Chosen().speedText, text);
    }
    EXPECT_TRUE(fixture_.reportedErrors.empty());
}

TEST_F(TrelanADCFaceTest, AddressCanBeCopiedButNotEdited) {
    auto& address = Control<QLineEdit>("LE_DeviceAdr");
    QTest::keyClicks(&address, "1.2.3");
    QTest::keyClick(&address, Qt::Key_Backspace);
    EXPECT_EQ(address.text(), "255.255.255");
    address.selectAll();
    QTest::keyClick(&address, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "255.255.255");
}

}  // namespace
}  // namespace ornet5
