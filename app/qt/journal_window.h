#pragma once

#include <array>
#include <memory>

#include <QWidget>

#include "app/journal_window_core.h"
#include "app/program_toolkit.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ornet5 {

class TQtFormWindow;

// The journal window's Qt view: the controls where the design puts them,
// the chart painted from the core's drawing, and the controls' events
// forwarded to the core. Closing it only hides it.
class TJournalWindow : public QWidget, public TJournalWindowPart, private TJournalWindowView {
    Q_OBJECT

  public:
    explicit TJournalWindow(const TJournalWindowServices& services, QWidget* parent = nullptr);
    ~TJournalWindow() override;

    // Makes the window visible if it is hidden and brings it to the front.
    void ShowAndRaise();

    TJournalWindowCore& Core() override { return *core_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    class TChartPanel;

    void BuildControls();
    void BuildAlarmGroup();

    void ShowPeriod(TJournalPeriod period) override;
    void ShowChart() override;
    void ShowSummary(const std::string& text) override;
    void ShowThresholdLabel(const std::string& text) override;
    std::string ThresholdText() const override;
    void ShowThresholdText(const std::string& text) override;
    void ShowAlarmChecks(bool enabled, bool sound) override;
    void ShowAlarmState(const std::string& text) override;

    std::array<QRadioButton*, 4> periodButtons_{};
    TChartPanel* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* thresholdLabel_ = nullptr;
    QLineEdit* threshold_ = nullptr;
    QPushButton* apply_ = nullptr;
    QCheckBox* alarmOn_ = nullptr;
    QCheckBox* alarmSound_ = nullptr;
    QLabel* alarmState_ = nullptr;
    QPushButton* openFolder_ = nullptr;

    std::unique_ptr<TQtFormWindow> formWindow_;
    std::unique_ptr<TJournalWindowCore> core_;
};

}  // namespace ornet5
