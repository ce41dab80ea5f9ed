#include "app/qt/exclusive_radio_button.h"

#include <QKeyEvent>

namespace ornet5 {

TExclusiveRadioButton::TExclusiveRadioButton(QWidget* parent) : QRadioButton(parent) {
    // Qt's own exclusivity refuses to uncheck the checked button from code,
    // which the stored settings must be able to do.
    setAutoExclusive(false);
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this, &TExclusiveRadioButton::OnToggled);
}

void TExclusiveRadioButton::nextCheckState() {
    if (!isChecked()) {
        setChecked(true);
    }
}

void TExclusiveRadioButton::keyPressEvent(QKeyEvent* event) {
    const bool forward = event->key() == Qt::Key_Down || event->key() == Qt::Key_Right;
    const bool backward = event->key() == Qt::Key_Up || event->key() == Qt::Key_Left;
    const QList<TExclusiveRadioButton*> group = Siblings();
    if ((!forward && !backward) || group.size() < 2) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    const qsizetype here = group.indexOf(this);
    const qsizetype step = forward ? 1 : group.size() - 1;
    TExclusiveRadioButton* next = group[(here + step) % group.size()];
    next->setFocus(Qt::TabFocusReason);
    next->setChecked(true);
}

void TExclusiveRadioButton::OnToggled(bool checked) {
    setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    if (!checked) {
        return;
    }
    for (TExclusiveRadioButton* other : Siblings()) {
        if (other != this) {
            other->setChecked(false);
        }
    }
}

QList<TExclusiveRadioButton*> TExclusiveRadioButton::Siblings() {
    if (parentWidget() == nullptr) {
        return {this};
    }
    return parentWidget()->findChildren<TExclusiveRadioButton*>(Qt::FindDirectChildrenOnly);
}

}  // namespace ornet5
