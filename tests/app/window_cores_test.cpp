// The windows' toolkit-free cores with their views faked: what both
// editions' windows do, checked once.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/combo_completion.h"
#include "app/face_core.h"
#include "app/program_events.h"
#include "app/settings_window_core.h"
#include "app/settings_window_design.h"
#include "settings/form_storage.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/fake_program_windows.h"
#include "tests/support/fake_stored_form.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

TEST(ComboCompletion, TypedTextCompletesToTheFirstEntryItBegins) {
    const auto& ports = settings_design::kPortEntries;
    const auto& speeds = settings_design::kSpeedEntries;
    EXPECT_EQ(CompleteComboText("c", TEditKind::Typed, ports), (TComboCompletion{0, true}));
    EXPECT_EQ(CompleteComboText("cOm4", TEditKind::Typed, ports), (TComboCompletion{3, true}));
    EXPECT_EQ(CompleteComboText("9", TEditKind::Typed, speeds), (TComboCompletion{1, true}));
    EXPECT_EQ(CompleteComboText("1", TEditKind::Typed, speeds), (TComboCompletion{0, true}));
    // Text that begins no entry, and the empty text, select nothing.
    for (const char* text : {"", "COM5", "COM1x", " COM2", "38400", "порт"}) {
        EXPECT_EQ(CompleteComboText(text, TEditKind::Typed, ports), TComboCompletion{}) << text;
    }
}

TEST(ComboCompletion, AfterARemovalOnlyAWholeEntrySelects) {
    const auto& ports = settings_design::kPortEntries;
    // Completing here would put back what the user just deleted.
    EXPECT_EQ(CompleteComboText("COM", TEditKind::Removed, ports), TComboCompletion{});
    EXPECT_EQ(CompleteComboText("com2", TEditKind::Removed, ports), (TComboCompletion{1, false}));
    EXPECT_EQ(CompleteComboText("", TEditKind::Removed, ports), TComboCompletion{});
}

TEST(AboutBoxPlace, CentresOverTheOwnerTruncatingTowardZero) {
    const TLayoutSize box{298, 213};
    auto at = [&](TLayoutRect owner) {
        const TLayoutPoint point = CentredOver(owner, box);
        return std::pair{point.x, point.y};
    };
    EXPECT_EQ(at({100, 200, 385, 146}), std::pair(100 + 43, 200 - 33));
    // Odd differences: halves truncated toward zero, also when negative.
    EXPECT_EQ(at({500, 400, 301, 216}), std::pair(501, 401));
    EXPECT_EQ(at({500, 400, 99, 14}), std::pair(500 - 99, 400 - 99));
    // A negative result becomes 0.
    EXPECT_EQ(at({10, 5, 100, 20}), std::pair(0, 0));
    EXPECT_EQ(at({-300, 300, 385, 146}), std::pair(0, 300 - 33));
}

class TRecordingFaceView : public TFaceView {
  public:
    void ShowTitleText(const std::string& text) override { calls.push_back("title " + text); }
    void ShowDoseText(const std::string& text) override { calls.push_back("dose " + text); }
    void ShowDoseInk(TDoseInk ink) override {
        calls.push_back(ink == TDoseInk::Alarm ? "red" : ink == TDoseInk::Stale ? "grey" : "black");
    }
    std::vector<std::string> calls;
};

TEST(FaceCore, AnOldDoseIsGreyEvenWhileTheAlarmIsOnAndInkChangesAreShownOnce) {
    TRecordingFaceView view;
    TFaceCore face(view);
    EXPECT_EQ(face.DoseText(), "Ждите");
    EXPECT_EQ(face.DoseInk(), TDoseInk::Normal);
    face.SetDoseText("0,12");
    face.SetDoseCurrent(true);
    face.SetAlarm(true);
    face.SetAlarm(true);
    face.SetDoseCurrent(false);
    face.SetAlarm(false);
    face.SetDoseCurrent(true);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"dose 0,12", "red", "grey", "black"}));
    face.SetTitleText("Измерение в мк&Р/ч");
    EXPECT_EQ(face.TitleText(), "Измерение в мк&Р/ч");
}

class TFakeSettingsView : public TSettingsWindowView {
  public:
    int ItemIndex(TComboBox box) const override { return index.at(box); }
    void SelectItem(TComboBox box, int i) override { index[box] = i; }
    std::string SpeedText() const override { return speedText; }
    bool UnitChecked(TUnitButton button) const override { return checked.at(button); }
    void ShowUnitChecked(TUnitButton button, bool on) override { checked[button] = on; }
    void ShowAddressText(const std::string& text) override { address = text; }
    void ShowStatusText(const std::string& text) override { status = text; }

    std::map<TComboBox, int> index{{TComboBox::Port, 2}, {TComboBox::Speed, 1}};
    std::map<TUnitButton, bool> checked{{TUnitButton::Zv, true}, {TUnitButton::Rentgen, false}};
    std::string speedText = "9600";
    std::string address = "255.255.255";
    std::string status;
};

class SettingsWindowCoreTest : public ::testing::Test {
  protected:
    TSettingsWindowServices Services() {
        return {events, [this](const TPollChoices& choices) { chosen = choices; }};
    }

    void Set(const char* control, const char* property, std::int32_t value) {
        TStoredControl* found = core.FindControl(control);
        ASSERT_NE(found, nullptr) << control;
        const auto info = found->FindProperty(property);
        ASSERT_TRUE(info.has_value()) << control << "." << property;
        if (info->kind == TPropertyKind::Boolean) {
            found->SetBooleanProperty(*info, value != 0);
        } else {
            found->SetIntegerProperty(*info, value);
        }
    }

    TRecordingFaceView faceView;
    TFaceCore face{faceView};
    test::TFakeProgramWindows windows{&face};
    std::ostringstream diagnostics;
    TProgramEvents events{windows, diagnostics};
    TPollChoices chosen;
    TFakeSettingsView view;
    test::TFakeForm formWindow;
    TSettingsWindowCore core{view, formWindow, Services()};
};

TEST_F(SettingsWindowCoreTest, HandsOverTheDesignChoicesAndKeepsThemUnderTheWindowsSection) {
    EXPECT_EQ(chosen, (TPollChoices{2, "9600", false}));
    EXPECT_EQ(core.ClassName(), "TTrelanADCFace");
    EXPECT_EQ(core.FormStorage1().IniSection(), "TTrelanADCFace");
    EXPECT_EQ(core.FindControl("cb_comport_speed")->Name(), "CB_ComPort_Speed");
    EXPECT_EQ(core.FindControl("GroupBox1"), nullptr);
    // Each control has its one property, found without regard to case.
    TStoredControl& port = *core.FindControl("CB_COMPORT");
    EXPECT_EQ(port.FindProperty("itemindex")->declaredName, "ItemIndex");
    EXPECT_FALSE(port.FindProperty("Checked"));
    const TPropertyInfo checked = *core.FindControl("rbzv")->FindProperty("CHECKED");
    EXPECT_THROW(port.SetBooleanProperty(checked, true), std::invalid_argument);
}

TEST_F(SettingsWindowCoreTest, AUnitHandlerRunsOnlyWhenItsButtonBecomesChecked) {
    core.UnitClicked(TUnitButton::Zv);
    EXPECT_TRUE(faceView.calls.empty());

    core.UnitClicked(TUnitButton::Rentgen);
    EXPECT_FALSE(view.checked[TUnitButton::Zv]);
    EXPECT_EQ(face.TitleText(), "Измерение в мк&Р/ч");

    // The order a settings store applies µSv/h in: rbRentgen false, then
    // rbZv true; unchecking runs nothing.
    Set("rbRentgen", "Checked", 0);
    EXPECT_EQ(faceView.calls.size(), 1u);
    Set("rbZv", "Checked", 1);
    EXPECT_EQ(face.TitleText(), "Измерение в мк&Зв/ч");
    EXPECT_FALSE(view.checked[TUnitButton::Rentgen]);

    // Stored settings may leave both unchecked; µSv/h is then shown.
    Set("rbZv", "Checked", 0);
    EXPECT_FALSE(view.checked[TUnitButton::Zv] || view.checked[TUnitButton::Rentgen]);
    EXPECT_FALSE(core.RentgenChosen());
    EXPECT_FALSE(chosen.rentgen);
    EXPECT_EQ(faceView.calls.size(), 2u);
    EXPECT_TRUE(windows.boxTexts.empty());
}

TEST_F(SettingsWindowCoreTest, AStoredIndexThatNamesNoEntryLeavesTheBoxAsItStands) {
    for (const std::int32_t index : {-1, 5, 999, -5}) {
        Set("CB_ComPort_Speed", "ItemIndex", index);
        EXPECT_EQ(view.index[TComboBox::Speed], 1) << index;
    }
    Set("CB_ComPort_Speed", "ItemIndex", 4);
    Set("CB_ComPort", "ItemIndex", 3);
    EXPECT_EQ(view.index[TComboBox::Speed], 4);
    // What the store applies is what the detector polls with next.
    EXPECT_EQ(chosen.portIndex, 3);
    view.speedText = "38400";
    core.ChoiceEdited();
    EXPECT_EQ(chosen, (TPollChoices{3, "38400", false}));
}

}  // namespace
}  // namespace ornet5
