#pragma once

#include <string>
#include <vector>

#include "settings/form_placement.h"

namespace ornet5 {

// A placement store that also keeps control properties, named in
// StoredProps as "Component.Property". The key of an entry is the
// component's name, "_" and the property's declared name.
class TFormStorage : public TFormPlacement {
  public:
    using TFormPlacement::TFormPlacement;

    // The entries as they stand; after Loaded, only the resolved ones.
    std::vector<std::string> StoredProps() const;
    void SetStoredProps(const std::vector<std::string>& entries);

    // Resolves the entries against the window's controls, dropping those
    // that name no control, then attaches to the window.
    void Loaded(TFormHandlers ownHandlers) override;

    // The control is going away: its entries leave the list.
    void ControlDestroyed(const TStoredControl& control);

  protected:
    void RestoreItems(const TIniFile& ini) override;
    void SaveItems(TIniFile& ini) override;

  private:
    struct TStoredProp {
        std::string entry;
        std::string propertyName;
        TStoredControl* control = nullptr;
    };

    void RestoreProp(const TIniFile& ini, const TStoredProp& prop);

    std::vector<TStoredProp> props_;
};

}  // namespace ornet5
