#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "service/config_values.h"
#include "settings/ini_document.h"

namespace ornet5 {

// The fault lines of one configuration file, each as the service prints
// it: "FILE:LINE: [Section] Key: what is wrong". Parts that a fault lacks
// are left out: "FILE:LINE: [Section]: ...", "FILE: ...".
class TConfigFaults {
  public:
    explicit TConfigFaults(std::string fileName) : fileName_(std::move(fileName)) {}

    // line 0: a fault of no line.
    void Add(std::size_t line, std::string_view section, std::string_view key,
             std::string_view what);

    bool Empty() const { return faults_.empty(); }
    // In line order; the faults of no line come last.
    std::vector<std::string> Lines() const;

  private:
    std::string fileName_;
    std::vector<std::pair<std::size_t, std::string>> faults_;
};

// The keys of one section of the service's configuration file, and the
// faults of its key lines.
//
// A value is the text after "=" up to a comment (a ";" at the value's start
// or after a blank), without blanks around it and without one enclosing
// pair of quotes. The desktop's settings file keeps the Windows rule, where
// such a ";" belongs to the value; here a value may be explained on its own
// line. An empty value means the key's default, as a missing key does.
//
// Found at construction, each with its line: a key the section does not
// know, a key that occurs a second time, a line without "=", and a value
// with a control character.
class TConfigSection {
  public:
    struct TValue {
        std::size_t line = 0;
        std::string key;  // as the file writes it
        std::string text;
        bool usable = true;  // false when its line has a fault already
    };

    // section outlives this object.
    TConfigSection(const TIniSectionLines& section, std::span<const std::string_view> knownKeys,
                   TConfigFaults& faults);

    std::string_view Name() const { return section_.name; }

    // The key's value; none when the key is missing, empty or faulty.
    const TValue* Find(std::string_view key) const;

    // The same for a key without a default: a fault names it when it is
    // missing or empty.
    const TValue* Require(std::string_view key);

    // The key's value as parse reads it (see config_values.h), fallback when
    // it is missing, empty or faulty; a parse error becomes a fault.
    template <typename T, typename Parse>
    T Read(std::string_view key, T fallback, Parse parse) {
        const TValue* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        try {
            return parse(value->text);
        } catch (const EConfigValueError& error) {
            Fault(*value, error.Message());
            return fallback;
        }
    }

    // A fault on the value's line, naming its key.
    void Fault(const TValue& value, std::string_view what);

  private:
    const TValue* Written(std::string_view key) const;

    const TIniSectionLines& section_;
    TConfigFaults& faults_;
    std::vector<TValue> values_;
};

}  // namespace ornet5
