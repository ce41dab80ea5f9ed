// The settings window with its settings store, in one process on Qt's
// offscreen platform: what a show and a close do to the controls, the
// heading and the settings file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "app/qt/trelan_adc_face.h"
#include "settings/form_storage.h"
#include "settings/ini_profile.h"
#include "settings/settings_file.h"
#include "tests/qt/settings_window/window_test_support.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSection = "TTrelanADCFace";
const std::string kRentgenHeading = "Измерение в мк&Р/ч";

class SettingsWindowStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::TestApplication();
        window = std::make_unique<TTrelanADCFace>(fixture.Services());
    }

    void Store(std::string_view key, std::string_view value) {
        ASSERT_TRUE(WriteProfileString(file, kSection, key, value));
    }
    std::string Stored(std::string_view key) const {
        return ReadProfileString(file, kSection, key, "<missing>");
    }
    QComboBox& Combo(const char* name) { return *window->findChild<QComboBox*>(name); }
    QRadioButton& Radio(const char* name) { return *window->findChild<QRadioButton*>(name); }

    // As at the main window's first activation.
    void ShowAndClose() {
        window->ShowAndRaise();
        window->close();
    }

    std::string ScreenSuffix() const {
        const QSize size = QGuiApplication::primaryScreen()->size();
        return "(" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ")";
    }

    test::TTempConfigHome configHome;
    // The name comes from this test program's own name.
    TSettingsFileLocation location = ProgramSettingsFile();
    fs::path file = location.path;
    test::TServicesFixture fixture;
    std::unique_ptr<TTrelanADCFace> window;
};

TEST_F(SettingsWindowStoreTest, TheFirstShowAppliesStoredChoicesAndTheHeadingFollows) {
    ASSERT_EQ(file.parent_path(), configHome.Path());
    Store("CB_ComPort_ItemIndex", "1");
    Store("CB_ComPort_Speed_ItemIndex", "2");
    Store("rbRentgen_Checked", "True");
    Store("rbZv_Checked", "False");
    Store("NormPos" + ScreenSuffix(), "120,130,0,0");
    ShowAndClose();
    EXPECT_EQ(Combo("CB_ComPort").currentText(), "COM2");
    EXPECT_EQ(Combo("CB_ComPort_Speed").currentText(), "4800");
    EXPECT_TRUE(Radio("rbRentgen").isChecked());
    EXPECT_FALSE(Radio("rbZv").isChecked());
    EXPECT_EQ(fixture.face.titleTexts, std::vector<std::string>{kRentgenHeading});
    EXPECT_EQ(window->pos(), QPoint(120, 130));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Stored("NormPos"), "120,130," +
                                     std::to_string(120 + window->frameGeometry().width()) + "," +
                                     std::to_string(130 + window->frameGeometry().height()));
    EXPECT_TRUE(fixture.reportedErrors.empty());
}

TEST_F(SettingsWindowStoreTest, AFirstRunWritesTheDesignValuesAndUnitChoiceStaysQuiet) {
    ShowAndClose();
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "2");
    EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "1");
    EXPECT_EQ(Stored("rbRentgen_Checked"), "False");
    EXPECT_EQ(Stored("rbZv_Checked"), "True");
    EXPECT_EQ(Stored("Visible"), "0");
    EXPECT_EQ(Stored("PixelsPerInch"),
              std::to_string(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY())));
    EXPECT_NE(Stored("MinMaxPos" + ScreenSuffix()), "<missing>");
    EXPECT_TRUE(fixture.face.titleTexts.empty());
}

TEST_F(SettingsWindowStoreTest, AFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
    fs::create_directory(file);
    ShowAndClose();
    EXPECT_FALSE(window->isVisible());
    const std::string message = "Unable to write to " + location.name + ".";
    EXPECT_EQ(fixture.reportedErrors, std::vector<std::string>{message});
    // The store has not saved since it loaded: the end of the program tries
    // once more.
    window.reset();
    EXPECT_EQ(fixture.reportedErrors, (std::vector<std::string>{message, message}));
}

TEST_F(SettingsWindowStoreTest, AConfigFolderThatCannotBeMadeIsReportedAndNothingBreaks) {
    // Even root cannot make a folder below a regular file.
    test::WriteAll(configHome.Path() / "plain", "x");
    const fs::path folder = configHome.Path() / "plain" / "config";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    window = std::make_unique<TTrelanADCFace>(fixture.Services());
    ShowAndClose();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(fixture.reportedErrors,
              std::vector<std::string>{"Unable to write to " + location.name + "."});
    EXPECT_EQ(Combo("CB_ComPort").currentText(), "COM3");
    window->ShowAndRaise();
    EXPECT_TRUE(window->isVisible());
    window.reset();
    EXPECT_EQ(fixture.reportedErrors.size(), 2u);
    EXPECT_EQ(test::ReadAll(configHome.Path() / "plain"), "x");
}

TEST_F(SettingsWindowStoreTest, AStoredIndexNamingNoEntryLeavesTheSpeedAndPortAsTheyStand) {
    for (const char* index : {"-1", "999", "-5"}) {
        Store("CB_ComPort_Speed_ItemIndex", index);
        Store("CB_ComPort_ItemIndex", index);
        ShowAndClose();
        EXPECT_EQ(Combo("CB_ComPort_Speed").currentText(), "9600") << index;
        EXPECT_EQ(Combo("CB_ComPort").currentText(), "COM3") << index;
        // The close writes the entries that stand back over the bad indexes.
        EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "1") << index;
        EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "2") << index;
    }
    // A typed speed is saved as no entry selected and survives the next
    // show, also when the file names an entry that does not exist.
    window->ShowAndRaise();
    QLineEdit& speed = *Combo("CB_ComPort_Speed").lineEdit();
    speed.selectAll();
    QTest::keyClick(&speed, Qt::Key_Delete);
    test::TypeText(speed, "38400");
    window->close();
    EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "-1");
    window->ShowAndRaise();
    EXPECT_EQ(Combo("CB_ComPort_Speed").currentText(), "38400");
    window->close();
    Store("CB_ComPort_Speed_ItemIndex", "999");
    ShowAndClose();
    EXPECT_EQ(Combo("CB_ComPort_Speed").currentText(), "38400");
    EXPECT_TRUE(fixture.reportedErrors.empty());
}

TEST_F(SettingsWindowStoreTest, AReadOnlyFileIsReadButNeverReplacedAlsoThroughALink) {
    const std::string content = "[TTrelanADCFace]\r\nCB_ComPort_ItemIndex=1\r\n";
    const fs::path target = configHome.Path() / "shared.ini";
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    test::WriteAll(target, content);
    fs::permissions(target, readOnly);
    fs::create_symlink(target, file);
    ShowAndClose();
    EXPECT_EQ(Combo("CB_ComPort").currentText(), "COM2");
    EXPECT_TRUE(fs::is_symlink(file));
    fs::remove(file);
    test::WriteAll(file, content);
    fs::permissions(file, readOnly);
    ShowAndClose();
    EXPECT_EQ(test::ReadAll(target), content);
    EXPECT_EQ(test::ReadAll(file), content);
    EXPECT_EQ(fixture.reportedErrors,
              std::vector<std::string>(2, "Unable to write to " + location.name + "."));
}

TEST_F(SettingsWindowStoreTest, TheEndOfTheProgramWritesOnlyWhenTheWindowWasOpen) {
    window.reset();
    EXPECT_FALSE(fs::exists(file));

    window = std::make_unique<TTrelanADCFace>(fixture.Services());
    window->ShowAndRaise();
    Combo("CB_ComPort").setCurrentIndex(3);
    window.reset();
    EXPECT_EQ(Stored("Visible"), "1");
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "3");
}

}  // namespace
}  // namespace ornet5
