#include "tests/qt/app_test_support.h"

#include <iostream>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

namespace ornet5::test {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limit.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QEventLoop pause;
        QTimer::singleShot(5, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return done();
}

void WhenModalOpen(std::function<void(QWidget&)> action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        action(*modal);
    });
    poll->start();
}

QList<QMessageBox*> VisibleMessageBoxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible()) {
            boxes.append(box);
        }
    }
    return boxes;
}

TAssembledWindows::TAssembledWindows()
    : services{face.Core(), events, [] { return false; }, formats, std::cerr, {}}, settings(services) {
    windows.SetSettingsWindow(&settings);
    face.SetEvents(&events);
}

TAssembledWindows::~TAssembledWindows() {
    face.SetEvents(nullptr);
    windows.SetSettingsWindow(nullptr);
}

}  // namespace ornet5::test
