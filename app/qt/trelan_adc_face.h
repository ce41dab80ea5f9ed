#pragma once

#include <memory>

#include <QWidget>

#include "app/program_toolkit.h"
#include "app/qt/completing_combo_box.h"
#include "app/qt/unit_radio_button.h"
#include "app/settings_window_core.h"

class QGroupBox;
class QLineEdit;
class QStatusBar;

namespace ornet5 {

class TQtFormWindow;

// The connection settings window's Qt view: creates the controls where the
// design puts them and forwards their events to the window's core, which
// keeps the settings store and hands the user's choices to the measuring
// engine. Closing it only hides it; it lives until the program ends.
class TTrelanADCFace : public QWidget, public TSettingsWindowPart, private TSettingsWindowView {
    Q_OBJECT

  public:
    explicit TTrelanADCFace(const TSettingsWindowServices& services, QWidget* parent = nullptr);
    ~TTrelanADCFace() override;

    // Makes the window visible if it is hidden and brings it to the front.
    void ShowAndRaise();

    TSettingsWindowCore& Core() override { return *core_; }

  protected:
    // The settings store hooks in here: it loads when the window is about to
    // appear and saves when a close is granted.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildWindow();
    void BuildControls();
    // A combo box's edit may pass through texts that are not the user's
    // (a completion clears the field before it writes the entry): the
    // choices are handed over once the event that changed them is done.
    void ChoiceEditedLater();

    TCompletingComboBox& Box(TComboBox box) const {
        return box == TComboBox::Port ? *cbComPort_ : *cbComPortSpeed_;
    }
    TUnitRadioButton& Button(TUnitButton button) const {
        return button == TUnitButton::Zv ? *rbZv_ : *rbRentgen_;
    }

    int ItemIndex(TComboBox box) const override;
    void SelectItem(TComboBox box, int index) override;
    std::string SpeedText() const override;
    bool UnitChecked(TUnitButton button) const override;
    void ShowUnitChecked(TUnitButton button, bool checked) override;
    void ShowAddressText(const std::string& text) override;
    void ShowStatusText(const std::string& text) override;

    // Declared in the order of the window's components.
    QGroupBox* groupBox1_ = nullptr;
    TCompletingComboBox* cbComPort_ = nullptr;
    TCompletingComboBox* cbComPortSpeed_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QGroupBox* groupBox2_ = nullptr;
    QLineEdit* leDeviceAdr_ = nullptr;
    TUnitRadioButton* rbZv_ = nullptr;
    TUnitRadioButton* rbRentgen_ = nullptr;

    bool choiceEditPending_ = false;
    std::unique_ptr<TQtFormWindow> formWindow_;
    std::unique_ptr<TSettingsWindowCore> core_;
};

}  // namespace ornet5
