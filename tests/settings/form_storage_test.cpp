#include "settings/form_storage.h"

#include <gtest/gtest.h>

#include "settings/ini_profile.h"
#include "tests/support/fake_stored_form.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TFakeForm;
using test::TTempFolder;
using test::WriteAll;

using namespace std::string_literals;

constexpr std::string_view kSection = "TTrelanADCFace";

class FormStorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        storage.SetOptions({TPlacementOption::Position});
        storage.SetStoredProps({"CB_ComPort_Speed.ItemIndex", "CB_ComPort.ItemIndex",
                                "rbRentgen.Checked", "rbZv.Checked"});
        storage.Loaded({});
    }

    void Show() {
        storage.FormShow();
        form.visible = true;
        form.placement.showCmd = 1;
    }

    // The window's close path; the result is whether the close went on.
    bool Close() {
        bool canClose = true;
        storage.FormCloseQuery(canClose);
        if (canClose) {
            form.visible = false;
        }
        return canClose;
    }

    void Store(std::string_view key, std::string_view value) {
        ASSERT_TRUE(WriteProfileString(file, kSection, key, value));
    }

    std::string Stored(std::string_view key) const {
        return ReadProfileString(file, kSection, key, "<missing>");
    }

    int Index(std::string_view control) { return form.Control(control).itemIndex; }
    bool Checked(std::string_view control) { return form.Control(control).checked; }
    TRect Position() const { return form.placement.normalPosition; }

    TTempFolder folder;
    fs::path file = folder.Path() / "ORNET5.INI";
    TFakeForm form;
    TFormStorage storage{form, form, {file, "ORNET5.INI"}};
};

TEST_F(FormStorageTest, WithoutAFileTheShowChangesNothingAndTheCloseWritesTheWholeSection) {
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 2);
    EXPECT_EQ(Index("CB_ComPort_Speed"), 1);
    EXPECT_TRUE(Checked("rbZv"));
    EXPECT_FALSE(Checked("rbRentgen"));
    EXPECT_EQ(Position(), (TRect{360, 236, 709, 382}));
    EXPECT_TRUE(form.events.empty());
    EXPECT_FALSE(fs::exists(file));

    EXPECT_TRUE(Close());
    EXPECT_EQ(ReadAll(file),
              "[TTrelanADCFace]\r\n"
              "FormVersion=0\r\n"
              "Flags=0\r\n"
              "ShowCmd=1\r\n"
              "PixelsPerInch=96\r\n"
              "MinMaxPos(1024x768)=-1,-1,-3,-3\r\n"
              "MinMaxPos=-1,-1,-3,-3\r\n"
              "NormPos(1024x768)=360,236,709,382\r\n"
              "NormPos=360,236,709,382\r\n"
              "Visible=0\r\n"
              "CB_ComPort_Speed_ItemIndex=1\r\n"
              "CB_ComPort_ItemIndex=2\r\n"
              "rbRentgen_Checked=False\r\n"
              "rbZv_Checked=True\r\n");
    EXPECT_TRUE(storage.Saved());
    EXPECT_TRUE(form.errors.empty());
}

TEST_F(FormStorageTest, StoredChoicesApplyInListOrderThroughTheControlsSetters) {
    Store("CB_ComPort_ItemIndex", "1");
    Store("CB_ComPort_Speed_ItemIndex", " 2 ");
    Store("rbRentgen_Checked", "True");
    Store("rbZv_Checked", "False");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 1);
    EXPECT_EQ(Index("CB_ComPort_Speed"), 2);
    EXPECT_TRUE(Checked("rbRentgen"));
    EXPECT_FALSE(Checked("rbZv"));
    EXPECT_EQ(form.events, std::vector<std::string>{"rbRentgenClick"});
}

TEST_F(FormStorageTest, StoredPositionMovesTheDialogButKeepsItsSize) {
    Store("NormPos(1024x768)", "100,50,101,51");
    Store("MinMaxPos", "7,8,9,10");
    Show();
    ASSERT_GE(form.appliedPlacements.size(), 2u);
    const TWindowPlacement& applied = form.appliedPlacements.front();
    EXPECT_EQ(applied.normalPosition, (TRect{100, 50, 449, 196}));
    EXPECT_EQ(applied.minPosition, (TPoint{7, 8}));
    EXPECT_EQ(applied.showCmd, kShowHide);
    // The maximised position is then reset to just outside the dialog frame.
    EXPECT_EQ(form.placement.maxPosition, (TPoint{-3, -3}));
    EXPECT_EQ(form.appliedPlacements.back().showCmd, kShowHide);
}

TEST_F(FormStorageTest, ACenteredWindowBecomesDesignedWhenItsPlaceIsRestored) {
    form.positionMode = TPositionMode::ScreenCenter;
    Show();
    EXPECT_EQ(form.positionMode, TPositionMode::ScreenCenter);
    Store("NormPos", "1,2,3,4");
    Show();
    EXPECT_EQ(form.positionMode, TPositionMode::Designed);
}

TEST_F(FormStorageTest, OlderFormVersionAppliesNothingAndTheNextSaveWritesTheCurrentOne) {
    Store("FormVersion", "-1");
    Store("NormPos", "5,5,5,5");
    Store("CB_ComPort_ItemIndex", "0");
    Store("rbRentgen_Checked", "True");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 2);
    EXPECT_FALSE(Checked("rbRentgen"));
    EXPECT_EQ(Position(), (TRect{360, 236, 709, 382}));
    EXPECT_TRUE(storage.Restored());
    Close();
    EXPECT_EQ(Stored("FormVersion"), "0");
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "2");
    EXPECT_EQ(Stored("rbRentgen_Checked"), "False");

    storage.SetVersion(3);
    Store("FormVersion", "2");
    Store("CB_ComPort_ItemIndex", "0");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 2);
    Close();
    EXPECT_EQ(Stored("FormVersion"), "3");
}

TEST_F(FormStorageTest, MissingOrMalformedFormVersionStillApplies) {
    for (const char* version : {"abc", "", "1"}) {
        form.Control("CB_ComPort").itemIndex = 2;
        Store("FormVersion", version);
        Store("CB_ComPort_ItemIndex", "3");
        Show();
        EXPECT_EQ(Index("CB_ComPort"), 3) << version;
    }
}

TEST_F(FormStorageTest, OtherPixelsPerInchKeepsThePlaceButAppliesTheControls) {
    Store("PixelsPerInch", "120");
    Store("NormPos", "10,20,30,40");
    Store("CB_ComPort_Speed_ItemIndex", "4");
    Show();
    EXPECT_EQ(Position(), (TRect{360, 236, 709, 382}));
    EXPECT_EQ(Index("CB_ComPort_Speed"), 4);
    Store("PixelsPerInch", "$60");
    Show();
    EXPECT_EQ(Position(), (TRect{10, 20, 359, 166}));
}

TEST_F(FormStorageTest, MalformedFlagsAndPixelsPerInchCountAsTheWindowsOwn) {
    form.placement.flags = 5;
    Store("NormPos", "10,20");
    for (const char* text : {"junk", "", "1.5", "99999999999"}) {
        form.appliedPlacements.clear();
        form.placement.normalPosition = {360, 236, 709, 382};
        Store("Flags", text);
        Store("PixelsPerInch", text);
        Show();
        ASSERT_FALSE(form.appliedPlacements.empty()) << text;
        EXPECT_EQ(form.appliedPlacements.front().flags, 5) << text;
        EXPECT_EQ(form.appliedPlacements.front().normalPosition.left, 10) << text;
    }
    Store("Flags", "$7");
    Show();
    EXPECT_EQ(form.placement.flags, 7);
}

TEST_F(FormStorageTest, TheCurrentScreensKeyWinsAndThePlainKeyServesAnotherScreen) {
    Store("NormPos(1024x768)", "11,12,0,0");
    Store("NormPos", "21,22,0,0");
    Show();
    EXPECT_EQ(Position().left, 11);
    EXPECT_EQ(Position().top, 12);
    form.screenWidth = 1920;
    form.screenHeight = 1080;
    Show();
    EXPECT_EQ(Position().left, 21);
    EXPECT_EQ(Position().top, 22);
    Store("NormPos(1920x1080)", " ");
    Show();
    EXPECT_EQ(Position().left, 21);
}

TEST_F(FormStorageTest, ShortOrBlankSeparatedPositionsSplitIntoWords) {
    Store("NormPos", " 50 ,  60");
    Show();
    EXPECT_EQ(Position(), (TRect{50, 60, 399, 206}));

    form.borderStyle = TBorderStyle::Sizeable;
    Store("NormPos", "70 80,,90,x");
    Show();
    // Words split at runs of blanks and commas; a malformed word keeps the
    // window's own value.
    EXPECT_EQ(form.appliedPlacements[form.appliedPlacements.size() - 2].normalPosition,
              (TRect{70, 80, 90, 206}));
}

TEST_F(FormStorageTest, MalformedItemIndexSelectsTheFirstEntryAndAMissingKeyChangesNothing) {
    Store("CB_ComPort_ItemIndex", "COM2");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 0);
    EXPECT_EQ(Index("CB_ComPort_Speed"), 1);
    for (const char* text : {"", "  ", "1x", "99999999999", "2.0"}) {
        form.Control("CB_ComPort").itemIndex = 3;
        Store("CB_ComPort_ItemIndex", text);
        Show();
        EXPECT_EQ(Index("CB_ComPort"), 0) << "'" << text << "'";
    }
    Store("CB_ComPort_ItemIndex", "\t0x2\x01");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 2);
}

TEST_F(FormStorageTest, IndexNamingNoEntryKeepsTheControlAndNoSelectionIsSavedAsMinusOne) {
    Store("CB_ComPort_Speed_ItemIndex", "9");
    Show();
    EXPECT_EQ(Index("CB_ComPort_Speed"), 1);
    Close();
    EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "1");
    // A typed speed that the list does not offer selects no entry.
    form.Control("CB_ComPort_Speed").itemIndex = -1;
    Close();
    EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "-1");
    Show();
    EXPECT_EQ(Index("CB_ComPort_Speed"), -1);
}

TEST_F(FormStorageTest, BooleansMatchWithoutLetterCaseAndOtherTextsAreIgnored) {
    Store("rbRentgen_Checked", "tRUE");
    Show();
    EXPECT_TRUE(Checked("rbRentgen"));
    EXPECT_EQ(form.events, std::vector<std::string>{"rbRentgenClick"});

    for (const char* text : {"1", "yes", "", "Truely"}) {
        form.Control("rbRentgen").checked = false;
        form.Control("rbZv").checked = true;
        form.events.clear();
        Store("rbRentgen_Checked", text);
        Show();
        EXPECT_FALSE(Checked("rbRentgen")) << text;
        EXPECT_TRUE(form.events.empty()) << text;
    }
}

TEST_F(FormStorageTest, BothUnitsTrueEndsWithTheLastAppliedAndBothFalseWithNeither) {
    Store("rbRentgen_Checked", "True");
    Store("rbZv_Checked", "True");
    Show();
    EXPECT_TRUE(Checked("rbZv"));
    EXPECT_FALSE(Checked("rbRentgen"));
    EXPECT_EQ(form.events, (std::vector<std::string>{"rbRentgenClick", "rbZvClick"}));

    Store("rbRentgen_Checked", "False");
    Store("rbZv_Checked", "false");
    Show();
    EXPECT_FALSE(Checked("rbZv"));
    EXPECT_FALSE(Checked("rbRentgen"));
}

TEST_F(FormStorageTest, AFailedWriteIsReportedTheCloseGoesOnAndDestructionTriesAgain) {
    fs::create_directory(file);
    Show();
    EXPECT_TRUE(Close());
    EXPECT_EQ(form.errors, std::vector<std::string>{"Unable to write to ORNET5.INI"});
    EXPECT_FALSE(storage.Saved());
    storage.FormDestroy();
    EXPECT_EQ(form.errors.size(), 2u);
    EXPECT_FALSE(storage.Destroying());
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(FormStorageTest, AWriteFailingInMidSaveStopsTheSaveAtThatKey) {
    Show();
    // Once "FormVersion" is written the file turns into a folder, which no
    // write can replace.
    form.onPlacement = [this] {
        fs::remove(file);
        fs::create_directory(file);
        form.onPlacement = nullptr;
    };
    for (const char* name : {"CB_ComPort", "CB_ComPort_Speed", "rbZv", "rbRentgen"}) {
        form.Control(name).reads = 0;
    }
    EXPECT_TRUE(Close());
    EXPECT_EQ(form.errors, std::vector<std::string>{"Unable to write to ORNET5.INI"});
    EXPECT_FALSE(storage.Saved());
    for (const char* name : {"CB_ComPort", "CB_ComPort_Speed", "rbZv", "rbRentgen"}) {
        EXPECT_EQ(form.Control(name).reads, 0) << name;
    }
}

TEST_F(FormStorageTest, NothingIsWrittenWhenTheWindowWasNeverShown) {
    bool canClose = true;
    storage.FormCloseQuery(canClose);
    storage.FormDestroy();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(form.errors.empty());
}

TEST_F(FormStorageTest, DestructionSavesWithVisibleOneOnlyWhenNotSavedSinceTheLastRestore) {
    Show();
    storage.FormDestroy();
    EXPECT_EQ(Stored("Visible"), "1");
    EXPECT_FALSE(storage.Destroying());

    Show();
    Close();
    EXPECT_EQ(Stored("Visible"), "0");
    Store("Marker", "kept");
    form.Control("CB_ComPort").itemIndex = 0;
    storage.FormDestroy();
    EXPECT_EQ(Stored("Visible"), "0");
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "2");
}

TEST_F(FormStorageTest, WindowHandlersRunInTheirPlaceAndMayRefuseTheClose) {
    std::vector<std::string> log;
    storage.Loaded({
        .show = [&] { log.push_back("show, port " + std::to_string(Index("CB_ComPort"))); },
        .closeQuery =
            [&](bool& canClose) {
                log.push_back(std::string("closeQuery, file ") + (fs::exists(file) ? "yes" : "no"));
                canClose = log.size() > 2;
            },
        .destroy = [&] { log.push_back("destroy, visible " + Stored("Visible")); },
    });
    Store("CB_ComPort_ItemIndex", "1");
    Show();
    fs::remove(file);
    EXPECT_FALSE(Close());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(Close());
    EXPECT_TRUE(fs::exists(file));
    Show();
    storage.FormDestroy();
    EXPECT_EQ(
        log, (std::vector<std::string>{"show, port 1", "closeQuery, file no", "closeQuery, file no",
                                       "show, port 1", "destroy, visible 1"}));
    const TFormHandlers own = storage.Detach();
    EXPECT_TRUE(own.show && own.closeQuery && own.destroy);
    EXPECT_FALSE(storage.Attached());
}

TEST_F(FormStorageTest, AnInactiveStoreOrAWindowWithoutNativeWindowDoesNotTouchTheFile) {
    storage.SetActive(false);
    Store("CB_ComPort_ItemIndex", "0");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 2);
    Close();
    storage.FormDestroy();
    EXPECT_EQ(Stored("FormVersion"), "<missing>");

    storage.SetActive(true);
    Show();
    form.handleAllocated = false;
    Close();
    EXPECT_EQ(Stored("FormVersion"), "<missing>");
}

TEST_F(FormStorageTest, EntriesResolveWithoutLetterCaseAndUnusableOnesLeaveTheList) {
    storage.SetStoredProps({" cb_comport_speed . itemindex ", "NoDot", ".Checked", "rbZv.",
                            "Missing.Checked", "CB_ComPort.Text", "RBZV.checked"});
    storage.Loaded({});
    EXPECT_EQ(storage.StoredProps(), (std::vector<std::string>{" cb_comport_speed . itemindex ",
                                                               "CB_ComPort.Text", "RBZV.checked"}));
    Show();
    Close();
    // Keys are spelled as the control and the property name themselves.
    EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "1");
    EXPECT_EQ(Stored("rbZv_Checked"), "True");
    EXPECT_EQ(Stored("CB_ComPort_Text"), "<missing>");
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "<missing>");
}

TEST_F(FormStorageTest, AnUnreachableControlIsSkippedOnRestoreAndADestroyedOneLeavesTheList) {
    Store("CB_ComPort_Speed_ItemIndex", "3");
    Store("CB_ComPort_ItemIndex", "0");
    form.Control("CB_ComPort_Speed").unreachable = true;
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 0);
    EXPECT_TRUE(form.errors.empty());
    storage.ControlDestroyed(form.Control("CB_ComPort_Speed"));
    EXPECT_EQ(
        storage.StoredProps(),
        (std::vector<std::string>{"CB_ComPort.ItemIndex", "rbRentgen.Checked", "rbZv.Checked"}));
    Close();
    EXPECT_TRUE(form.errors.empty());
}

TEST_F(FormStorageTest, AnySectionContentLeavesSensibleValuesAndOtherSectionsSurvive) {
    const std::string before = "[Other]\r\nKeep=me\r\n\r\n";
    WriteAll(file, before +
                       "[TTrelanADCFace]\r\n"s
                       "FormVersion=\x01\xff\r\n"
                       "Flags=99999999999999\r\n"
                       "PixelsPerInch=96\r\n"
                       "MinMaxPos=\xfe\xfe,\0,-,\r\n"
                       "NormPos=2147483647,2147483647,-2147483648\r\n"
                       "CB_ComPort_ItemIndex=-2147483648\r\n"
                       "CB_ComPort_Speed_ItemIndex=\"7\r\n"
                       "rbRentgen_Checked=\"True\"\r\n"
                       "rbZv_Checked=[TTrelanADCFace]\r\n");
    Show();
    EXPECT_EQ(Index("CB_ComPort"), 2);
    EXPECT_EQ(Index("CB_ComPort_Speed"), 0);
    EXPECT_TRUE(Checked("rbRentgen"));
    EXPECT_FALSE(Checked("rbZv"));
    EXPECT_EQ(form.placement.flags, 0);
    Close();
    EXPECT_EQ(ReadAll(file).substr(0, before.size()), before);
    EXPECT_EQ(Stored("rbZv_Checked"), "False");
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "2");
}

}  // namespace
}  // namespace ornet5
