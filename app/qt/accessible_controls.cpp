#include "app/qt/accessible_controls.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

#include "app/qt/accel_label.h"
#include "app/qt/unit_radio_button.h"

namespace ornet5 {
namespace {

class TAccessibleRadioButton : public QAccessibleWidget {
  public:
    explicit TAccessibleRadioButton(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return TAccelLabel::VisibleText(Button().text());
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button().isChecked();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == pressAction()) {
            Button().click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

  private:
    QAbstractButton& Button() const { return *static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* AccessibleControl(const QString& /*className*/, QObject* object) {
    if (auto* label = qobject_cast<TAccelLabel*>(object)) {
        // Its accessible name is its visible text, kept up by the label.
        return new QAccessibleWidget(label, QAccessible::StaticText);
    }
    if (auto* button = qobject_cast<TUnitRadioButton*>(object)) {
        return new TAccessibleRadioButton(button);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
    QAccessible::removeFactory(AccessibleControl);
    QAccessible::installFactory(AccessibleControl);
}

}  // namespace ornet5
