#pragma once

#include <deque>
#include <exception>
#include <string>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace ornet5 {

// The standard error report: one modal message box with a stop icon, an OK
// button, the program's title as caption and the error's message as text.
//
// Every error that escapes an event handler comes here through Post, which
// opens the box only once control is back in the event loop: a box opened
// inside a timer's handler would hold that timer still for as long as it
// is open (Qt does not re-enter a timer's own handler), and polling must go
// on behind the box.
//
// At most one box is open at a time. An error reported while a box is
// open (a failure that repeats at every poll tick, say) opens no second
// box: it is written to standard error and counted, and the call returns at
// once. A failure that persists is reported again by the first tick after
// the user has closed the box.
//
// Once the program is told to end by a signal, nobody may be there to
// click OK, so from then on reports go to standard error only and never
// hold the program open.
class TErrorReport {
  public:
    explicit TErrorReport(QString caption);

    // Reports the error once the event loop runs again.
    void Post(const std::exception& error);
    // Reports at once what was posted and not yet reported: for errors of
    // the program's end, after the event loop has stopped.
    void ReportPosted();

    void Report(const std::exception& error);
    void Report(const std::string& message);

    // The box belongs to the active window; when the program is not the
    // active application it belongs to this one, the always-on-top main
    // window, so that it never opens behind it.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    // From now on, reports are written to standard error instead of a box.
    void ReportToStandardErrorOnly() { unattended_ = true; }

    bool IsOpen() const { return open_; }
    int ShownCount() const { return shown_; }
    int SuppressedCount() const { return suppressed_; }

    // The box's text: the message, with a full stop appended when its last
    // character's code is above the full stop's.
    static QString BoxText(const std::string& message);

  private:
    void ReportFirstPosted();
    void Show(const QString& text);

    QString caption_;
    QPointer<QWidget> mainWindow_;
    std::deque<std::string> posted_;
    // Queued reports die with the report.
    QObject postedCalls_;
    bool open_ = false;
    bool unattended_ = false;
    int shown_ = 0;
    int suppressed_ = 0;
};

}  // namespace ornet5
