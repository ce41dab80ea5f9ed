#pragma once

#include <exception>
#include <string>

#include <QString>

namespace ornet5 {

// The standard error report: one modal message box with a stop icon, an OK
// button, the program's title as caption and the error's message as text.
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

    void Report(const std::exception& error);
    void Report(const std::string& message);

    // From now on, reports are written to standard error instead of a box.
    void ReportToStandardErrorOnly() { unattended_ = true; }

    bool IsOpen() const { return open_; }
    int ShownCount() const { return shown_; }
    int SuppressedCount() const { return suppressed_; }

    // The box's text: the message, with a full stop appended when its last
    // character's code is above the full stop's.
    static QString BoxText(const std::string& message);

  private:
    void Show(const QString& text);

    QString caption_;
    bool open_ = false;
    bool unattended_ = false;
    int shown_ = 0;
    int suppressed_ = 0;
};

}  // namespace ornet5
