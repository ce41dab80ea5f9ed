#include "settings/form_storage.h"

#include <algorithm>
#include <optional>

#include "common/int_text.h"
#include "settings/ascii_text.h"

namespace ornet5 {

namespace {

// Blanks and control characters at both ends do not count in a stored value.
std::string_view TrimControls(std::string_view text) {
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

std::optional<bool> ParseBoolean(std::string_view text) {
    if (SameTextAscii(text, "False")) {
        return false;
    }
    if (SameTextAscii(text, "True")) {
        return true;
    }
    return std::nullopt;
}

std::string PropertyKey(const TStoredControl& control, const TPropertyInfo& property) {
    return control.Name() + "_" + property.declaredName;
}

// The property's value as a save writes it.
std::string PropertyText(const TStoredControl& control, const TPropertyInfo& property) {
    if (property.kind == TPropertyKind::Integer) {
        return std::to_string(control.IntegerProperty(property));
    }
    return BooleanText(control.BooleanProperty(property));
}

}  // namespace

std::vector<std::string> TFormStorage::StoredProps() const {
    std::vector<std::string> entries;
    for (const TStoredProp& prop : props_) {
        entries.push_back(prop.entry);
    }
    return entries;
}

void TFormStorage::SetStoredProps(const std::vector<std::string>& entries) {
    props_.clear();
    for (const std::string& entry : entries) {
        props_.push_back({entry, {}, nullptr});
    }
}

void TFormStorage::Loaded(TFormHandlers ownHandlers) {
    std::erase_if(props_, [this](TStoredProp& prop) {
        const std::size_t dot = prop.entry.find('.');
        if (dot == std::string::npos) {
            return true;
        }
        const std::string_view entry = prop.entry;
        const std::string_view componentName = TrimBlanks(entry.substr(0, dot));
        prop.propertyName = TrimBlanks(entry.substr(dot + 1));
        if (componentName.empty() || prop.propertyName.empty()) {
            return true;
        }
        prop.control = Form().FindControl(componentName);
        return prop.control == nullptr;
    });
    TFormPlacement::Loaded(std::move(ownHandlers));
}

void TFormStorage::ControlDestroyed(const TStoredControl& control) {
    std::erase_if(props_, [&control](const TStoredProp& prop) { return prop.control == &control; });
}

void TFormStorage::RestoreItems(const TIniFile& ini) {
    for (const TStoredProp& prop : props_) {
        // One property that cannot be restored does not stop the others.
        try {
            RestoreProp(ini, prop);
        } catch (const std::exception&) {
        }
    }
}

void TFormStorage::RestoreProp(const TIniFile& ini, const TStoredProp& prop) {
    if (prop.control == nullptr) {
        return;
    }
    TStoredControl& control = *prop.control;
    const std::optional<TPropertyInfo> property = control.FindProperty(prop.propertyName);
    if (!property) {
        return;
    }
    const std::string stored = ini.ReadString(IniSection(), PropertyKey(control, *property),
                                              PropertyText(control, *property));
    const std::string_view text = TrimControls(stored);
    if (property->kind == TPropertyKind::Integer) {
        control.SetIntegerProperty(*property, TryStrToInt(text).value_or(0));
    } else if (const std::optional<bool> value = ParseBoolean(text)) {
        control.SetBooleanProperty(*property, *value);
    }
}

void TFormStorage::SaveItems(TIniFile& ini) {
    for (const TStoredProp& prop : props_) {
        if (prop.control == nullptr) {
            continue;
        }
        const std::optional<TPropertyInfo> property = prop.control->FindProperty(prop.propertyName);
        if (property) {
            ini.WriteString(IniSection(), PropertyKey(*prop.control, *property),
                            TrimControls(PropertyText(*prop.control, *property)));
        }
    }
}

}  // namespace ornet5
