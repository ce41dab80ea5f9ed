#pragma once

#include <chrono>
#include <functional>

#include <QList>

class QMessageBox;
class QWidget;

namespace ornet5::test {

// Runs the event loop until done() holds or the time is up; returns done().
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// Calls action with the modal window once one is open, from the event loop
// (so also from inside a modal run), checking every few milliseconds.
void WhenModalOpen(std::function<void(QWidget&)> action);

// The message boxes that are visible now.
QList<QMessageBox*> VisibleMessageBoxes();

}  // namespace ornet5::test
