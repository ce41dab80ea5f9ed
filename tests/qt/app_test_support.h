#pragma once

#include <chrono>
#include <functional>

#include <QList>

#include "app/program_events.h"
#include "app/qt/face.h"
#include "app/qt/program.h"
#include "app/qt/trelan_adc_face.h"

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

// The program put together as it puts itself together, polling at the
// period given, for as long as this object lives; its windows by name.
struct TAssembledWindows {
    explicit TAssembledWindows(std::chrono::milliseconds pollPeriod = kPollPeriod);

    TProgram program;
    TFace& face;
    TTrelanADCFace& settings;
    TProgramEvents& events;
};

}  // namespace ornet5::test
