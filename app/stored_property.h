#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/stored_form.h"

namespace ornet5 {

// A control as the settings store reaches it: one property, an item index
// (integer) or a check state (boolean, 0 or 1), read and set through the
// window core's own functions, so that a set has the same effects as the
// user's change.
class TStoredProperty : public TStoredControl {
  public:
    TStoredProperty(std::string controlName, std::string propertyName, TPropertyKind kind,
                    std::function<std::int32_t()> get, std::function<void(std::int32_t)> set);

    std::string Name() const override { return controlName_; }
    std::optional<TPropertyInfo> FindProperty(std::string_view name) const override;
    std::int32_t IntegerProperty(const TPropertyInfo& property) const override;
    void SetIntegerProperty(const TPropertyInfo& property, std::int32_t value) override;
    bool BooleanProperty(const TPropertyInfo& property) const override;
    void SetBooleanProperty(const TPropertyInfo& property, bool value) override;

  private:
    // A property this control does not have is an error, never a guess.
    void Check(const TPropertyInfo& property, TPropertyKind kind) const;

    std::string controlName_;
    std::string propertyName_;
    TPropertyKind kind_;
    std::function<std::int32_t()> get_;
    std::function<void(std::int32_t)> set_;
};

}  // namespace ornet5
