#include "app/qt/trelan_adc_face.h"

#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QShowEvent>
#include <QStatusBar>

#include "app/qt/completing_combo_box.h"
#include "app/qt/design_font.h"
#include "app/qt/qt_form_window.h"
#include "app/qt/unit_radio_button.h"
#include "app/settings_window_design.h"

namespace ornet5 {

using namespace settings_design;

namespace {

// Hints are kept with their controls but never shown: no tooltips.
void SetHint(QWidget& control, const char* hint) {
    control.setProperty("hint", QString::fromUtf8(hint));
}

}  // namespace

TTrelanADCFace::TTrelanADCFace(const TSettingsWindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    BuildWindow();
    BuildControls();
    formWindow_ = std::make_unique<TQtFormWindow>(*this, TBorderStyle::Dialog);
    TSettingsWindowView& view = *this;
    core_ = std::make_unique<TSettingsWindowCore>(view, *formWindow_, services);
    for (TCompletingComboBox* box : {cbComPort_, cbComPortSpeed_}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] { ChoiceEditedLater(); });
        connect(box, &QComboBox::editTextChanged, this, [this] { ChoiceEditedLater(); });
    }
}

// The settings store's final save, when it is due, belongs here: the
// controls still exist.
TTrelanADCFace::~TTrelanADCFace() {
    core_->FormDestroy();
}

void TTrelanADCFace::ChoiceEditedLater() {
    if (std::exchange(choiceEditPending_, true)) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            choiceEditPending_ = false;
            core_->ChoiceEdited();
        },
        Qt::QueuedConnection);
}

void TTrelanADCFace::BuildWindow() {
    setObjectName(QStringLiteral("TrelanADCFace"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setFont(DesignFont(kDefaultDesignFont));
    setFixedSize(QtSize(kClientSize));
    move(kDesignPosition.x, kDesignPosition.y);
    setProperty("helpContext", kHelpContext);
    // Hiding this window must never end the program; the main window does.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void TTrelanADCFace::BuildControls() {
    groupBox1_ = Place(new QGroupBox(QString::fromUtf8(kPortGroup), this), "GroupBox1", kGroupBox1);
    cbComPort_ = Place(new TCompletingComboBox(kPortEntries, kPortEntryIndex, groupBox1_),
                       "CB_ComPort", kComPort);
    SetHint(*cbComPort_, kPortHint);
    cbComPortSpeed_ = Place(new TCompletingComboBox(kSpeedEntries, kSpeedEntryIndex, groupBox1_),
                            "CB_ComPort_Speed", kComPortSpeed);
    SetHint(*cbComPortSpeed_, kSpeedHint);
    groupBox2_ =
        Place(new QGroupBox(QString::fromUtf8(kAddressGroup), this), "GroupBox2", kGroupBox2);
    // Read-only still lets the user select and copy the address.
    leDeviceAdr_ = Place(new QLineEdit(QString::fromUtf8(kAddressDesignText), groupBox2_),
                         "LE_DeviceAdr", kDeviceAdr);
    leDeviceAdr_->setReadOnly(true);
    SetHint(*leDeviceAdr_, kAddressHint);
    rbZv_ = Place(new TUnitRadioButton(kZvCaption, this), "rbZv", kZv);
    rbRentgen_ = Place(new TUnitRadioButton(kRentgenCaption, this), "rbRentgen", kRentgen);
    // The design state: creating the window leaves the heading alone.
    rbZv_->setChecked(true);
    connect(rbZv_, &TUnitRadioButton::Chosen, this,
            [this] { core_->UnitClicked(TUnitButton::Zv); });
    connect(rbRentgen_, &TUnitRadioButton::Chosen, this,
            [this] { core_->UnitClicked(TUnitButton::Rentgen); });
    statusBar_ = Place(new QStatusBar(this), "StatusBar", kStatusBar);
    statusBar_->setFont(QApplication::font("QStatusBar"));
    statusBar_->setSizeGripEnabled(false);
    setTabOrder(cbComPort_, cbComPortSpeed_);
    setTabOrder(cbComPortSpeed_, leDeviceAdr_);
    setTabOrder(leDeviceAdr_, rbZv_);
    setTabOrder(rbZv_, rbRentgen_);
}

void TTrelanADCFace::ShowAndRaise() {
    show();
    raise();
    activateWindow();
}

// The stored settings load while the window is about to appear, before it
// is mapped, so it appears at its stored place; a window system's own
// re-showing (after a minimise) loads nothing.
void TTrelanADCFace::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        core_->FormShow();
    }
    QWidget::showEvent(event);
}

// Without WA_DeleteOnClose a granted close only hides the window.
void TTrelanADCFace::closeEvent(QCloseEvent* event) {
    event->setAccepted(core_->FormCloseQuery());
}

int TTrelanADCFace::ItemIndex(TComboBox box) const {
    return Box(box).currentIndex();
}

void TTrelanADCFace::SelectItem(TComboBox box, int index) {
    Box(box).setCurrentIndex(index);
}

std::string TTrelanADCFace::SpeedText() const {
    return cbComPortSpeed_->currentText().toStdString();
}

bool TTrelanADCFace::UnitChecked(TUnitButton button) const {
    return Button(button).isChecked();
}

void TTrelanADCFace::ShowUnitChecked(TUnitButton button, bool checked) {
    Button(button).setChecked(checked);
}

void TTrelanADCFace::ShowAddressText(const std::string& text) {
    leDeviceAdr_->setText(QString::fromStdString(text));
}

void TTrelanADCFace::ShowStatusText(const std::string& text) {
    statusBar_->showMessage(QString::fromStdString(text));
}

}  // namespace ornet5
