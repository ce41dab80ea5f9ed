#include "app/qt/control_poll_values.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QString>

namespace ornet5 {

TControlPollValues::TControlPollValues(const TControls& controls, TMainDisplay& face)
    : controls_(controls), face_(face) {}

int TControlPollValues::PortIndex() const {
    return controls_.port.currentIndex();
}

std::string TControlPollValues::SpeedText() const {
    return controls_.speed.currentText().toStdString();
}

bool TControlPollValues::RentgenChosen() const {
    return controls_.rentgen.isChecked();
}

std::string TControlPollValues::DoseText() const {
    return face_.DoseText();
}

void TControlPollValues::SetDoseText(const std::string& text) {
    face_.SetDoseText(text);
}

void TControlPollValues::SetDoseCurrent(bool current) {
    face_.SetDoseCurrent(current);
}

void TControlPollValues::SetAddressText(const std::string& text) {
    controls_.address.setText(QString::fromStdString(text));
}

void TControlPollValues::SetStatusText(const std::string& text) {
    controls_.status.showMessage(QString::fromStdString(text));
}

}  // namespace ornet5
