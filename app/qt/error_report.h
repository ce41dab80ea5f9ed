#pragma once

#include <string>

#include <QPointer>
#include <QWidget>

namespace ornet5 {

// The standard error report's box in Qt: one modal message box with a stop
// icon, an OK button, the given caption and text. When a box may open, and
// what happens to errors while one is open, is the event logic's policy
// (TProgramEvents), the same in both editions.
class TErrorReport {
  public:
    // The box belongs to the active window; when the program is not the
    // active application it belongs to this one, the always-on-top main
    // window, so that it never opens behind it.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    // Returns when the user has closed the box.
    void Show(const std::string& caption, const std::string& text);

  private:
    QPointer<QWidget> mainWindow_;
};

}  // namespace ornet5
