#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/stored_form.h"

namespace ornet5 {

enum class TPlacementOption : unsigned { State = 1, Position = 2, ActiveControl = 4 };

class TPlacementOptions {
  public:
    TPlacementOptions() = default;
    TPlacementOptions(std::initializer_list<TPlacementOption> options) {
        for (const TPlacementOption option : options) {
            bits_ |= static_cast<unsigned>(option);
        }
    }
    bool Contains(TPlacementOption option) const {
        return (bits_ & static_cast<unsigned>(option)) != 0;
    }

  private:
    unsigned bits_ = 0;
};

// The window's own notification handlers, which keep running when a store
// is attached.
struct TFormHandlers {
    std::function<void()> show;
    std::function<void(bool& canClose)> closeQuery;
    std::function<void()> destroy;
};

// Keeps a window's place on the screen in one section of a settings file.
// It acts only inside the window's show, close-query and destroy
// notifications, which the window passes to FormShow, FormCloseQuery and
// FormDestroy once the store is attached.
class TFormPlacement {
  public:
    // defaultFile is the file used while IniFileName is empty. form and
    // window must outlive the store.
    TFormPlacement(TStoredForm& form, TFormWindow& window, TSettingsFileLocation defaultFile);
    virtual ~TFormPlacement() = default;
    TFormPlacement(const TFormPlacement&) = delete;
    TFormPlacement& operator=(const TFormPlacement&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    // Empty: the default file. A name without a folder lies beside it.
    const std::string& IniFileName() const { return iniFileName_; }
    void SetIniFileName(std::string name) { iniFileName_ = std::move(name); }
    // Empty: the window's class name.
    std::string IniSection() const;
    void SetIniSection(std::string section) { iniSection_ = std::move(section); }
    std::int32_t Version() const { return version_; }
    void SetVersion(std::int32_t version) { version_ = version; }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions options) { options_ = options; }

    // Once the window's components exist: attaches to its notifications,
    // remembering its own handlers.
    virtual void Loaded(TFormHandlers ownHandlers);
    // Gives the window its own handlers back.
    TFormHandlers Detach();
    bool Attached() const { return attached_; }

    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormDestroy();

    void RestoreSettings();
    void SaveSettings();

    bool Restored() const { return restored_; }
    bool Saved() const { return saved_; }
    bool Destroying() const { return destroying_; }

  protected:
    // The stored items beyond the placement; TFormStorage adds them.
    virtual void RestoreItems(const TIniFile&) {}
    virtual void SaveItems(TIniFile&) {}

    TStoredForm& Form() const { return form_; }

  private:
    TIniFile OpenIniFile() const;
    void RestorePosition(const TIniFile& ini);
    // Reads the stored positions into placement; whether any was found.
    bool ReadPositions(const TIniFile& ini, TWindowPlacement& placement) const;
    void ApplyPosition(TWindowPlacement& placement);
    void SavePosition(TIniFile& ini);
    void ResetMaxPosition();
    // Runs action; an error escaping it goes to the window's error report.
    void Reported(const std::function<void()>& action);

    TStoredForm& form_;
    TFormWindow& window_;
    TSettingsFileLocation defaultFile_;
    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    std::int32_t version_ = 0;
    TPlacementOptions options_{TPlacementOption::State, TPlacementOption::Position};
    TFormHandlers ownHandlers_;
    bool attached_ = false;
    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
};

}  // namespace ornet5
