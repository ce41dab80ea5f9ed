#pragma once

#include <QRadioButton>

namespace ornet5 {

// A radio button that shares one choice with its sibling radio buttons of
// the same kind: checking it unchecks them. The user can check it (click,
// Space, arrow keys) but not uncheck it; code can do both, so the stored
// settings may leave every button unchecked. Only a checked button is a
// tab stop.
class TExclusiveRadioButton : public QRadioButton {
    Q_OBJECT

  public:
    explicit TExclusiveRadioButton(QWidget* parent = nullptr);

  protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnToggled(bool checked);
    QList<TExclusiveRadioButton*> Siblings();
};

}  // namespace ornet5
