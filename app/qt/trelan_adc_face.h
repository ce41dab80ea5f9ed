#pragma once

#include <memory>

#include <QWidget>

#include "app/qt/window_services.h"
#include "serial/cp_drv.h"

class QGroupBox;
class QLineEdit;
class QStatusBar;
class QTimer;

namespace ornet5 {

class TCompletingComboBox;
class TExclusiveRadioButton;
class TControlPollValues;
class TWindowExchangeEnvironment;
class TPollCycle;
class TPortOpenLog;
class TQtStoredForm;
class TFormStorage;

// The connection settings window: port, speed and unit for the poll cycle,
// the address of the detector that answered, and the outcome of the last
// exchange. It owns the serial port and the 3000 ms poll timer, which runs
// from the window's creation to its end, visible or not. Closing it only
// hides it; it lives until the program ends.
class TTrelanADCFace : public QWidget {
    Q_OBJECT

  public:
    explicit TTrelanADCFace(const TWindowServices& services, QWidget* parent = nullptr);
    ~TTrelanADCFace() override;

    // Makes the window visible if it is hidden and brings it to the front.
    void ShowAndRaise();

    // The poll timer's tick: one poll cycle, through the event logic, whose
    // report opens its box only once the tick is over, so that polling goes
    // on behind it.
    void TimerTrelanTimer();
    void rbZvClick();
    void rbRentgenClick();

    TCPDrv& CommPort() { return commPort_; }
    QTimer& TimerTrelan() { return *timerTrelan_; }
    TFormStorage& FormStorage1() { return *formStorage1_; }

  protected:
    // The settings store hooks in here: it loads when the window is about to
    // appear and saves when a close is granted.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildWindow();
    void BuildPortGroup();
    void BuildAddressGroup();
    void BuildUnitChoice();
    void BuildStatusBar();
    void SetTabOrder();
    void StartPolling();
    void AttachFormStorage();

    const TWindowServices services_;

    // Declared in the order of the window's components.
    TCPDrv commPort_;
    QGroupBox* groupBox1_ = nullptr;
    TCompletingComboBox* cbComPort_ = nullptr;
    TCompletingComboBox* cbComPortSpeed_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QGroupBox* groupBox2_ = nullptr;
    QLineEdit* leDeviceAdr_ = nullptr;
    QTimer* timerTrelan_ = nullptr;
    TExclusiveRadioButton* rbZv_ = nullptr;
    TExclusiveRadioButton* rbRentgen_ = nullptr;

    std::unique_ptr<TControlPollValues> pollValues_;
    std::unique_ptr<TWindowExchangeEnvironment> exchangeEnvironment_;
    // Tells on standard error why the port cannot be opened.
    std::unique_ptr<TPortOpenLog> portOpenLog_;
    std::unique_ptr<TPollCycle> pollCycle_;
    // The settings store keeps the window's place and the port, speed and
    // unit choices in the settings file.
    std::unique_ptr<TQtStoredForm> storedForm_;
    std::unique_ptr<TFormStorage> formStorage1_;
};

}  // namespace ornet5
