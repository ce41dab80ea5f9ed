#include "app/qt/trelan_adc_face.h"

#include <exception>
#include <iostream>
#include <span>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>

#include "app/program_events.h"
#include "app/qt/completing_combo_box.h"
#include "app/qt/control_poll_values.h"
#include "app/qt/design_font.h"
#include "app/qt/exclusive_radio_button.h"
#include "app/qt/qt_stored_form.h"
#include "app/settings_window_setup.h"
#include "app/window_exchange_environment.h"
#include "app/window_texts.h"
#include "measure/poll_cycle.h"
#include "measure/port_open_log.h"
#include "settings/form_storage.h"

namespace ornet5 {

namespace {

// The window is laid out in screen pixels and not scaled.
constexpr QSize kClientSize{343, 117};
constexpr QPoint kDesignPosition{360, 236};

// Hints are kept with their controls but never shown: no tooltips.
void SetHint(QWidget& control, const char* hint) {
    control.setProperty("hint", QString::fromUtf8(hint));
}

TCompletingComboBox* MakeComboBox(QWidget* parent, const char* name, QRect place,
                                  std::span<const char* const> entries, int selected) {
    auto* box = new TCompletingComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(place);
    for (const char* entry : entries) {
        box->addItem(QString::fromUtf8(entry));
    }
    box->setCurrentIndex(selected);
    return box;
}

TExclusiveRadioButton* MakeRadioButton(QWidget* parent, const char* name, QRect place,
                                       const char* caption) {
    auto* button = new TExclusiveRadioButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(place);
    button->setText(QString::fromUtf8(caption));
    return button;
}

}  // namespace

TTrelanADCFace::TTrelanADCFace(const TWindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      services_(services),
      commPort_(services.driverTicks) {
    commPort_.SetPortName(settings_window::kDesignPortName);
    BuildWindow();
    BuildPortGroup();
    BuildAddressGroup();
    BuildUnitChoice();
    BuildStatusBar();
    SetTabOrder();
    StartPolling();
    AttachFormStorage();
}

// The settings store's final save, when it is due, belongs here: the
// controls still exist.
TTrelanADCFace::~TTrelanADCFace() {
    timerTrelan_->stop();
    formStorage1_->FormDestroy();
}

void TTrelanADCFace::BuildWindow() {
    setObjectName(QStringLiteral("TrelanADCFace"));
    setWindowTitle(QString::fromUtf8(window_text::kSettingsCaption));
    setFont(SansSerifFont(11));
    setFixedSize(kClientSize);
    move(kDesignPosition);
    setProperty("helpContext", settings_window::kHelpContext);
    // Hiding this window must never end the program; the main window does.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void TTrelanADCFace::BuildPortGroup() {
    groupBox1_ = new QGroupBox(QString::fromUtf8(window_text::kPortGroup), this);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1_->setGeometry(8, 0, 161, 81);
    cbComPort_ = MakeComboBox(groupBox1_, "CB_ComPort", QRect(8, 16, 145, 21),
                              window_text::kPortEntries, window_text::kPortEntryIndex);
    SetHint(*cbComPort_, window_text::kPortHint);
    cbComPortSpeed_ = MakeComboBox(groupBox1_, "CB_ComPort_Speed", QRect(8, 48, 145, 21),
                                   window_text::kSpeedEntries, window_text::kSpeedEntryIndex);
    SetHint(*cbComPortSpeed_, window_text::kSpeedHint);
}

void TTrelanADCFace::BuildAddressGroup() {
    groupBox2_ = new QGroupBox(QString::fromUtf8(window_text::kAddressGroup), this);
    groupBox2_->setObjectName(QStringLiteral("GroupBox2"));
    groupBox2_->setGeometry(176, 0, 161, 49);
    leDeviceAdr_ = new QLineEdit(QString::fromUtf8(window_text::kAddressDesignText), groupBox2_);
    leDeviceAdr_->setObjectName(QStringLiteral("LE_DeviceAdr"));
    leDeviceAdr_->setGeometry(8, 16, 145, 21);
    // Read-only still lets the user select and copy the address.
    leDeviceAdr_->setReadOnly(true);
    SetHint(*leDeviceAdr_, window_text::kAddressHint);
}

void TTrelanADCFace::BuildUnitChoice() {
    rbZv_ = MakeRadioButton(this, "rbZv", QRect(176, 56, 161, 17), TProgramEvents::kZvHeading);
    rbRentgen_ = MakeRadioButton(this, "rbRentgen", QRect(176, 80, 161, 17),
                                 TProgramEvents::kRentgenHeading);
    // The design state is set before the handlers are connected: creating
    // the window leaves the main window's heading alone.
    rbZv_->setChecked(true);
    // A handler runs whenever its button becomes checked, by the user or by
    // code; the unchecking of the other button runs nothing.
    connect(rbZv_, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked) {
            rbZvClick();
        }
    });
    connect(rbRentgen_, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked) {
            rbRentgenClick();
        }
    });
}

void TTrelanADCFace::BuildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar"));
    statusBar_->setFont(QApplication::font("QStatusBar"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setGeometry(0, 98, 343, 19);
}

void TTrelanADCFace::SetTabOrder() {
    setTabOrder(cbComPort_, cbComPortSpeed_);
    setTabOrder(cbComPortSpeed_, leDeviceAdr_);
    setTabOrder(leDeviceAdr_, rbZv_);
    setTabOrder(rbZv_, rbRentgen_);
}

void TTrelanADCFace::StartPolling() {
    pollValues_ = std::make_unique<TControlPollValues>(
        TControlPollValues::TControls{*cbComPort_, *cbComPortSpeed_, *rbRentgen_, *leDeviceAdr_,
                                      *statusBar_},
        services_.face);
    exchangeEnvironment_ =
        std::make_unique<TWindowExchangeEnvironment>(services_.escapeDown, *pollValues_);
    portOpenLog_ = std::make_unique<TPortOpenLog>(commPort_, std::cerr);
    pollCycle_ = std::make_unique<TPollCycle>(*portOpenLog_, *pollValues_, *exchangeEnvironment_,
                                              services_.formats);
    timerTrelan_ = new QTimer(this);
    timerTrelan_->setObjectName(QStringLiteral("TimerTrelan"));
    timerTrelan_->setInterval(settings_window::kPollPeriodMs);
    // A coarse timer may fire up to 5 % (150 ms) off at each tick; the polls
    // keep an exact 3000 ms beat.
    timerTrelan_->setTimerType(Qt::PreciseTimer);
    connect(timerTrelan_, &QTimer::timeout, this, &TTrelanADCFace::TimerTrelanTimer);
    timerTrelan_->start();
}

void TTrelanADCFace::AttachFormStorage() {
    storedForm_ = std::make_unique<TQtStoredForm>(
        *this, TBorderStyle::Dialog,
        [this](const std::exception& error) { services_.events.Post(error); });
    formStorage1_ = settings_window::MakeStore(*storedForm_);
}

void TTrelanADCFace::ShowAndRaise() {
    show();
    raise();
    activateWindow();
}

void TTrelanADCFace::TimerTrelanTimer() {
    services_.events.TimerTrelanTimer(*pollCycle_);
}

void TTrelanADCFace::rbZvClick() {
    services_.events.rbZvClick();
}

void TTrelanADCFace::rbRentgenClick() {
    services_.events.rbRentgenClick();
}

// The stored settings load while the window is about to appear, before it
// is mapped, so it appears at its stored place; a window system's own
// re-showing (after a minimise) loads nothing.
void TTrelanADCFace::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        formStorage1_->FormShow();
    }
    QWidget::showEvent(event);
}

void TTrelanADCFace::closeEvent(QCloseEvent* event) {
    // The close is always granted, and the store saves; without
    // WA_DeleteOnClose the window only hides.
    bool canClose = true;
    formStorage1_->FormCloseQuery(canClose);
    if (canClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace ornet5
