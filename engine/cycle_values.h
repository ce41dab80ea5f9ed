#pragma once

#include <mutex>
#include <string>

#include "engine/event_publisher.h"
#include "measure/poll_values.h"

namespace ornet5 {

// The user's three choices that a poll cycle reads afresh at every step.
struct TPollChoices {
    // 0 to 7 for COM1 to COM8; anything else keeps the port the detector
    // has (its own device, for one given by a path).
    int portIndex = -1;
    // The speed as typed, converted at every step.
    std::string speedText = "9600";
    // µR/h shown; else µSv/h.
    bool rentgen = false;

    bool operator==(const TPollChoices&) const = default;
};

// The poll cycle's six values for a detector that no window owns: the
// choices as the windows last handed them over, and the three texts
// published as events the moment the cycle writes them.
class TCycleValues : public TPollValues {
  public:
    TCycleValues(TPollChoices choices, TEventPublisher& publisher);

    // From any thread; the cycle reads them at its next step.
    void SetChoices(const TPollChoices& choices);

    int PortIndex() const override;
    std::string SpeedText() const override;
    bool RentgenChosen() const override;
    // The dose text as last written, which the windows' label shows.
    std::string DoseText() const override { return doseText_; }
    void SetDoseText(const std::string& text) override;
    void SetDoseCurrent(bool current) override;
    void SetAddressText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;

  private:
    TPollChoices Choices() const;

    mutable std::mutex choicesMutex_;
    TPollChoices choices_;
    TEventPublisher& publisher_;
    std::string doseText_;
};

}  // namespace ornet5
