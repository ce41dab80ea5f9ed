#include "app/face_core.h"

namespace ornet5 {

void TFaceCore::SetDoseText(const std::string& text) {
    doseText_ = text;
    view_.ShowDoseText(text);
}

void TFaceCore::SetDoseCurrent(bool current) {
    doseCurrent_ = current;
    ShowInk();
}

void TFaceCore::SetTitleText(const std::string& text) {
    titleText_ = text;
    view_.ShowTitleText(text);
}

void TFaceCore::SetAlarm(bool on) {
    alarm_ = on;
    ShowInk();
}

TDoseInk TFaceCore::DoseInk() const {
    if (!doseCurrent_) {
        return TDoseInk::Stale;
    }
    return alarm_ ? TDoseInk::Alarm : TDoseInk::Normal;
}

// The view repaints only when the ink changes, not at every reading.
void TFaceCore::ShowInk() {
    const TDoseInk ink = DoseInk();
    if (ink != shownInk_) {
        shownInk_ = ink;
        view_.ShowDoseInk(ink);
    }
}

}  // namespace ornet5
