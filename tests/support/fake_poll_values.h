#pragma once

#include <optional>
#include <string>
#include <vector>

#include "measure/poll_values.h"

namespace ornet5::test {

// The six values of the poll cycle held in plain fields, with every
// status text written kept in order.
class TFakePollValues : public TPollValues {
  public:
    int PortIndex() const override { return portIndex; }
    std::string SpeedText() const override { return speedText; }
    bool RentgenChosen() const override { return rentgenChosen; }

    std::string DoseText() const override { return shownDose ? *shownDose : doseText; }
    void SetDoseText(const std::string& text) override { doseText = text; }
    void SetDoseCurrent(bool current) override { doseCurrent = current; }
    void SetAddressText(const std::string& text) override { addressText = text; }
    void SetStatusText(const std::string& text) override {
        statusText = text;
        statusHistory.push_back(text);
    }

    int portIndex = 0;
    std::string speedText = "9600";
    bool rentgenChosen = false;
    std::string doseText;
    bool doseCurrent = true;
    std::string addressText;
    std::string statusText;
    std::vector<std::string> statusHistory;
    // When set, the label shows this whatever was written to it.
    std::optional<std::string> shownDose;
};

// Russian regional settings at a fixed time of day.
class TFixedFormats : public TRegionalFormats {
  public:
    std::string DecimalSeparator() const override { return separator; }
    std::string LongTimeNow() const override { return time; }

    std::string separator = ",";
    std::string time = "9:05:07";
};

}  // namespace ornet5::test
