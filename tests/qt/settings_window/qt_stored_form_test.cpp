#include "app/qt/qt_stored_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QScreen>

#include "common/exception.h"

namespace ornet5 {
namespace {

class QtStoredFormTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_stored_form_test";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
    }

    QtStoredFormTest() {
        window.setFixedSize(343, 117);
        auto* group = new QGroupBox(&window);
        combo = new QComboBox(group);
        combo->setObjectName("CB_ComPort");
        combo->addItems({"COM1", "COM2", "COM3", "COM4"});
        combo->setCurrentIndex(2);
        zv = new QRadioButton(&window);
        zv->setObjectName("rbZv");
        zv->setChecked(true);
        rentgen = new QRadioButton(&window);
        rentgen->setObjectName("rbRentgen");
        QObject::connect(rentgen, &QAbstractButton::toggled,
                         [this](bool checked) { rentgenToggles.push_back(checked); });
    }

    TStoredControl& Control(std::string_view name) {
        TStoredControl* control = form.FindControl(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    QWidget window;
    QComboBox* combo = nullptr;
    QRadioButton* zv = nullptr;
    QRadioButton* rentgen = nullptr;
    std::vector<bool> rentgenToggles;
    std::vector<std::string> reported;
    TQtStoredForm form{window, TBorderStyle::Dialog,
                       [this](const std::exception& error) { reported.push_back(error.what()); }};
};

TEST_F(QtStoredFormTest, ControlsAreFoundByNameAndPropertyWithoutLetterCase) {
    TStoredControl& port = Control("cb_comport");
    EXPECT_EQ(&port, form.FindControl("CB_COMPORT"));
    EXPECT_EQ(port.Name(), "CB_ComPort");
    const auto itemIndex = port.FindProperty("itemindex");
    ASSERT_TRUE(itemIndex);
    EXPECT_EQ(itemIndex->declaredName, "ItemIndex");
    EXPECT_EQ(itemIndex->kind, TPropertyKind::Integer);
    EXPECT_FALSE(port.FindProperty("Checked"));
    const auto checked = Control("RBZV").FindProperty("CHECKED");
    ASSERT_TRUE(checked);
    EXPECT_EQ(checked->declaredName, "Checked");
    EXPECT_EQ(form.FindControl("Missing"), nullptr);
    EXPECT_EQ(form.ClassName(), "QWidget");
}

TEST_F(QtStoredFormTest, ComboBoxIndexOutsideTheListLeavesTheBoxAsItStands) {
    TStoredControl& port = Control("CB_ComPort");
    const TPropertyInfo itemIndex = *port.FindProperty("ItemIndex");
    EXPECT_EQ(port.IntegerProperty(itemIndex), 2);
    port.SetIntegerProperty(itemIndex, 1);
    EXPECT_EQ(combo->currentText(), "COM2");
    for (const std::int32_t outside : {4, 9, -1, -2147483647 - 1}) {
        port.SetIntegerProperty(itemIndex, outside);
        EXPECT_EQ(port.IntegerProperty(itemIndex), 1) << outside;
        EXPECT_EQ(combo->currentText(), "COM2") << outside;
    }
}

TEST_F(QtStoredFormTest, RadioButtonsCheckThroughTheirSetterAndCanBothBeUnchecked) {
    TStoredControl& button = Control("rbRentgen");
    const TPropertyInfo checked = *button.FindProperty("Checked");
    button.SetBooleanProperty(checked, true);
    EXPECT_TRUE(rentgen->isChecked());
    EXPECT_FALSE(zv->isChecked());
    EXPECT_EQ(rentgenToggles, std::vector<bool>{true});
    button.SetBooleanProperty(checked, false);
    EXPECT_FALSE(rentgen->isChecked());
    EXPECT_FALSE(zv->isChecked());
    EXPECT_TRUE(rentgen->autoExclusive());
}

TEST_F(QtStoredFormTest, AControlThatIsGoneOrOfAnotherKindRaisesInsteadOfCrashing) {
    TStoredControl& port = Control("CB_ComPort");
    const TPropertyInfo checked = *Control("rbZv").FindProperty("Checked");
    EXPECT_THROW(port.SetBooleanProperty(checked, true), Exception);
    EXPECT_THROW(port.BooleanProperty(checked), Exception);
    delete combo;
    EXPECT_THROW(port.Name(), Exception);
    EXPECT_THROW(port.FindProperty("ItemIndex"), Exception);
}

TEST_F(QtStoredFormTest, PlacementIsTheFramesPlaceAndMovesTheWindowWithoutShowingIt) {
    window.move(360, 236);
    TWindowPlacement placement = form.Placement();
    EXPECT_EQ(placement.normalPosition.left, 360);
    EXPECT_EQ(placement.normalPosition.top, 236);
    EXPECT_EQ(placement.normalPosition.right - placement.normalPosition.left, form.Width());
    placement.normalPosition = {100, 50, 100 + form.Width(), 50 + form.Height()};
    placement.maxPosition = {-3, -3};
    placement.showCmd = kShowHide;
    form.SetPlacement(placement);
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(343, 117));
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Placement().maxPosition, (TPoint{-3, -3}));
    placement.normalPosition = {2147483647, -2147483647 - 1, 0, 0};
    form.SetPlacement(placement);
    EXPECT_EQ(window.pos(), QPoint(32767, -32768));
}

TEST_F(QtStoredFormTest, ScreenFiguresComeFromThePrimaryScreen) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(form.ScreenWidth(), screen->size().width());
    EXPECT_EQ(form.ScreenHeight(), screen->size().height());
    EXPECT_EQ(form.PixelsPerInch(), qRound(screen->logicalDotsPerInchY()));
    form.ReportError(Exception("Unable to write to ORNET5.INI"));
    EXPECT_EQ(reported, std::vector<std::string>{"Unable to write to ORNET5.INI"});
}

}  // namespace
}  // namespace ornet5
