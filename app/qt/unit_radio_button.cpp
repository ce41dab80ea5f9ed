#include "app/qt/unit_radio_button.h"

#include <QKeyEvent>

namespace ornet5 {

TUnitRadioButton::TUnitRadioButton(const char* caption, QWidget* parent)
    : QRadioButton(QString::fromUtf8(caption), parent) {
    // Qt's own exclusivity would refuse to uncheck the checked button, which
    // the stored settings must be able to do.
    setAutoExclusive(false);
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this,
            [this](bool checked) { setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus); });
}

void TUnitRadioButton::nextCheckState() {
    emit Chosen();
}

// The arrow keys move to the next or previous unit button and choose it.
void TUnitRadioButton::keyPressEvent(QKeyEvent* event) {
    const bool forward = event->key() == Qt::Key_Down || event->key() == Qt::Key_Right;
    const bool backward = event->key() == Qt::Key_Up || event->key() == Qt::Key_Left;
    const QList<TUnitRadioButton*> group =
        parentWidget() == nullptr
            ? QList<TUnitRadioButton*>{this}
            : parentWidget()->findChildren<TUnitRadioButton*>(Qt::FindDirectChildrenOnly);
    if ((!forward && !backward) || group.size() < 2) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    const qsizetype step = forward ? 1 : group.size() - 1;
    TUnitRadioButton* next = group[(group.indexOf(this) + step) % group.size()];
    next->setFocus(Qt::TabFocusReason);
    emit next->Chosen();
}

}  // namespace ornet5
