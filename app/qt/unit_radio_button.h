#pragma once

#include <QRadioButton>

namespace ornet5 {

// A unit button of the settings window. The user's actions never change its
// check by themselves: a click, Space, or an arrow key from a sibling asks
// for it with Chosen, and the window's core checks and unchecks the buttons
// (the user can check one but not uncheck it; the stored settings may leave
// both unchecked). Only a checked button is a tab stop.
class TUnitRadioButton : public QRadioButton {
    Q_OBJECT

  public:
    TUnitRadioButton(const char* caption, QWidget* parent);

  signals:
    void Chosen();

  protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ornet5
