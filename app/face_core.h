#pragma once

#include <string>

#include "app/face_design.h"

namespace ornet5 {

// How the dose digits are drawn.
enum class TDoseInk {
    Normal,  // the window text colour: the present reading
    Stale,   // the grey of text that does not apply now: an old reading
    Alarm,   // red: the present reading, while the dose alarm is on
};

// What the main window's core needs of its view: the two labels.
class TFaceView {
  public:
    virtual ~TFaceView() = default;
    // An ampersand in a text underlines the next character and is not drawn.
    virtual void ShowTitleText(const std::string& text) = 0;
    virtual void ShowDoseText(const std::string& text) = 0;
    virtual void ShowDoseInk(TDoseInk ink) = 0;
};

// What the rest of the program writes into the main window: the heading and
// the dose.
class TMainDisplay {
  public:
    virtual ~TMainDisplay() = default;
    virtual std::string DoseText() const = 0;
    virtual void SetDoseText(const std::string& text) = 0;
    // Whether the dose shown is the present reading or an old one.
    virtual void SetDoseCurrent(bool current) = 0;
    virtual void SetTitleText(const std::string& text) = 0;
    // Whether the dose alarm is on.
    virtual void SetAlarm(bool on) = 0;
};

// The main window apart from its controls: the heading, the dose text and
// the ink of the dose. The view starts with the design's texts in the
// normal ink, as this core does.
class TFaceCore : public TMainDisplay {
  public:
    // view must outlive the core.
    explicit TFaceCore(TFaceView& view) : view_(view) {}

    std::string DoseText() const override { return doseText_; }
    void SetDoseText(const std::string& text) override;
    void SetDoseCurrent(bool current) override;
    void SetTitleText(const std::string& text) override;
    void SetAlarm(bool on) override;

    std::string TitleText() const { return titleText_; }
    // An old dose is grey whatever the alarm says: red would pass it off as
    // the present reading.
    TDoseInk DoseInk() const;

  private:
    void ShowInk();

    TFaceView& view_;
    std::string titleText_ = face_design::kDoseHeading;
    std::string doseText_ = face_design::kDosePlaceholder;
    bool doseCurrent_ = true;
    bool alarm_ = false;
    TDoseInk shownInk_ = TDoseInk::Normal;
};

}  // namespace ornet5
