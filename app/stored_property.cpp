#include "app/stored_property.h"

#include <stdexcept>
#include <utility>

#include "settings/ascii_text.h"

namespace ornet5 {

TStoredProperty::TStoredProperty(std::string controlName, std::string propertyName,
                                 TPropertyKind kind, std::function<std::int32_t()> get,
                                 std::function<void(std::int32_t)> set)
    : controlName_(std::move(controlName)),
      propertyName_(std::move(propertyName)),
      kind_(kind),
      get_(std::move(get)),
      set_(std::move(set)) {}

std::optional<TPropertyInfo> TStoredProperty::FindProperty(std::string_view name) const {
    if (!SameTextAscii(name, propertyName_)) {
        return std::nullopt;
    }
    return TPropertyInfo{propertyName_, kind_};
}

std::int32_t TStoredProperty::IntegerProperty(const TPropertyInfo& property) const {
    Check(property, TPropertyKind::Integer);
    return get_();
}

void TStoredProperty::SetIntegerProperty(const TPropertyInfo& property, std::int32_t value) {
    Check(property, TPropertyKind::Integer);
    set_(value);
}

bool TStoredProperty::BooleanProperty(const TPropertyInfo& property) const {
    Check(property, TPropertyKind::Boolean);
    return get_() != 0;
}

void TStoredProperty::SetBooleanProperty(const TPropertyInfo& property, bool value) {
    Check(property, TPropertyKind::Boolean);
    set_(value ? 1 : 0);
}

void TStoredProperty::Check(const TPropertyInfo& property, TPropertyKind kind) const {
    if (property.kind != kind || kind_ != kind ||
        !SameTextAscii(property.declaredName, propertyName_)) {
        throw std::invalid_argument(controlName_ +
                                    " has no such property: " + property.declaredName);
    }
}

}  // namespace ornet5
