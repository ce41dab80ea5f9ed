#include "app/qt/face.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

#include "app/app_title.h"
#include "app/program_events.h"
#include "app/qt/accel_label.h"
#include "app/qt/design_font.h"

namespace ornet5 {

using namespace face_design;

TFace::TFace(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    BuildWindow();
    BuildMenu();
    BuildLabels();
}

void TFace::BuildWindow() {
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setFixedSize(QtSize(kClientSize));
    setFont(DesignFont(kDefaultDesignFont));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);
    // The menu opens from contextMenuEvent, for the mouse and the keyboard.
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void TFace::BuildMenu() {
    popupMenu1_ = new QMenu(this);
    // Hints are kept with the action but never shown.
    popupMenu1_->setToolTipsVisible(false);

    actOptionsShow_ = new QAction(QString::fromUtf8(kOptionsShowItem), this);
    actOptionsShow_->setToolTip(QString::fromUtf8(kOptionsShowHint));
    connect(actOptionsShow_, &QAction::triggered, this, [this] { actOptionsShowExecute(); });

    n1_ = actOptionsShow_;
    popupMenu1_->addAction(n1_);
    n2_ = popupMenu1_->addSeparator();
    nAbout_ = popupMenu1_->addAction(QString::fromUtf8(kAboutItem));
    connect(nAbout_, &QAction::triggered, this, [this] { NAboutClick(); });
    popupMenu1_->addSeparator();
    QAction* journal = popupMenu1_->addAction(QString::fromUtf8(kJournalItem));
    connect(journal, &QAction::triggered, this, [this] {
        if (events_ != nullptr) {
            events_->NJournalClick();
        }
    });
}

void TFace::BuildLabels() {
    labelTitle_ = new TAccelLabel(this);
    labelTitle_->setGeometry(QtRect(kLabelTitle));
    labelTitle_->setFont(DesignFont(kLabelTitleFont));
    labelTitle_->SetText(QString::fromStdString(core_.TitleText()));

    labelDose_ = new TAccelLabel(this);
    labelDose_->setGeometry(QtRect(kLabelDose));
    labelDose_->setFont(DesignFont(kLabelDoseFont));
    labelDose_->SetText(QString::fromStdString(core_.DoseText()));
}

void TFace::ShowTitleText(const std::string& text) {
    labelTitle_->SetText(QString::fromStdString(text));
}

void TFace::ShowDoseText(const std::string& text) {
    labelDose_->SetText(QString::fromStdString(text));
}

void TFace::ShowDoseInk(TDoseInk ink) {
    labelDose_->setEnabled(ink != TDoseInk::Stale);
    QPalette colours = palette();
    if (ink == TDoseInk::Alarm) {
        colours.setColor(QPalette::Active, QPalette::WindowText, Qt::red);
        colours.setColor(QPalette::Inactive, QPalette::WindowText, Qt::red);
    }
    labelDose_->setPalette(colours);
}

void TFace::actOptionsShowExecute() {
    if (events_ != nullptr) {
        events_->actOptionsShowExecute();
    }
}

void TFace::FormActivate() {
    if (events_ != nullptr) {
        events_->FormActivate();
    }
}

void TFace::NAboutClick() {
    if (events_ != nullptr) {
        events_->NAboutClick();
    }
}

bool TFace::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return handled;
}

void TFace::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        PopupAt(event->globalPos());
    } else {
        PopupAt(mapToGlobal(QPoint(0, 0)));
    }
    event->accept();
}

void TFace::keyPressEvent(QKeyEvent* event) {
    // The keys that Windows gives the meaning of a context-menu request; Qt
    // does not turn them into context-menu events on every platform.
    const bool menuKey = event->key() == Qt::Key_Menu;
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (menuKey || shiftF10) {
        PopupAt(mapToGlobal(QPoint(0, 0)));
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFace::PopupAt(const QPoint& globalPos) {
    popupMenu1_->popup(globalPos);
}

void TFace::closeEvent(QCloseEvent* event) {
    event->accept();
    // Closing the main window ends the program whatever other windows are
    // visible, and also leaves any modal run still open.
    QCoreApplication::exit(0);
}

}  // namespace ornet5
