#pragma once

#include <chrono>
#include <functional>

#include <QList>

#include "app/program_events.h"
#include "app/qt/face.h"
#include "app/qt/qt_program_windows.h"
#include "app/qt/regional_formats.h"
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

// The main window and the real connection settings window, put together as
// the program does it for as long as this object lives.
struct TAssembledWindows {
    TAssembledWindows();
    ~TAssembledWindows();

    TFace face;
    TQtProgramWindows windows{face};
    TProgramEvents events{windows};
    TQtRegionalFormats formats;
    const TSettingsWindowServices services;
    TTrelanADCFace settings;
};

}  // namespace ornet5::test
