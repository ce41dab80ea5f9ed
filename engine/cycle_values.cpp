#include "engine/cycle_values.h"

#include <utility>

namespace ornet5 {

TCycleValues::TCycleValues(TPollChoices choices, TEventPublisher& publisher)
    : choices_(std::move(choices)), publisher_(publisher) {}

void TCycleValues::SetChoices(const TPollChoices& choices) {
    const std::lock_guard lock(choicesMutex_);
    choices_ = choices;
}

TPollChoices TCycleValues::Choices() const {
    const std::lock_guard lock(choicesMutex_);
    return choices_;
}

int TCycleValues::PortIndex() const {
    const std::lock_guard lock(choicesMutex_);
    return choices_.portIndex;
}

std::string TCycleValues::SpeedText() const {
    const std::lock_guard lock(choicesMutex_);
    return choices_.speedText;
}

bool TCycleValues::RentgenChosen() const {
    const std::lock_guard lock(choicesMutex_);
    return choices_.rentgen;
}

void TCycleValues::SetDoseText(const std::string& text) {
    doseText_ = text;
    publisher_.Publish(TDoseTextEvent{text});
}

void TCycleValues::SetDoseCurrent(bool current) {
    publisher_.Publish(TDoseCurrentEvent{current});
}

void TCycleValues::SetAddressText(const std::string& text) {
    publisher_.Publish(TAddressTextEvent{text});
}

void TCycleValues::SetStatusText(const std::string& text) {
    publisher_.Publish(TStatusTextEvent{text});
}

}  // namespace ornet5
