#include "app/qt/error_report.h"

#include <cstdio>
#include <utility>

#include <QApplication>
#include <QMessageBox>

#include "common/exception.h"

namespace ornet5 {
namespace {

// Clears the open flag when the box's modal run ends, however it ends.
class TOpenFlag {
  public:
    explicit TOpenFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~TOpenFlag() { flag_ = false; }
    TOpenFlag(const TOpenFlag&) = delete;
    TOpenFlag& operator=(const TOpenFlag&) = delete;

  private:
    bool& flag_;
};

// The system's own errors keep their whole text, zero bytes included.
std::string MessageOf(const std::exception& error) {
    const auto* ownError = dynamic_cast<const Exception*>(&error);
    return ownError != nullptr ? ownError->Message() : std::string(error.what());
}

}  // namespace

TErrorReport::TErrorReport(QString caption) : caption_(std::move(caption)) {}

void TErrorReport::Post(const std::exception& error) {
    posted_.push_back(MessageOf(error));
    QMetaObject::invokeMethod(
        &postedCalls_, [this] { ReportFirstPosted(); }, Qt::QueuedConnection);
}

void TErrorReport::ReportPosted() {
    while (!posted_.empty()) {
        ReportFirstPosted();
    }
}

// One call per posted error; ReportPosted may have taken its error already.
void TErrorReport::ReportFirstPosted() {
    if (posted_.empty()) {
        return;
    }
    const std::string message = std::move(posted_.front());
    posted_.pop_front();
    Report(message);
}

void TErrorReport::Report(const std::exception& error) {
    Report(MessageOf(error));
}

void TErrorReport::Report(const std::string& message) {
    const QString text = BoxText(message);
    if (open_ || unattended_) {
        ++suppressed_;
        std::fprintf(stderr, "ORNET5: %s: %s\n",
                     unattended_ ? "error while ending" : "error while an error report is open",
                     text.toLocal8Bit().constData());
        return;
    }
    Show(text);
}

QString TErrorReport::BoxText(const std::string& message) {
    QString text = QString::fromStdString(message);
    // A character beyond the basic plane ends in a low surrogate, which is
    // above the full stop just as the character itself is.
    if (!text.isEmpty() && text.back().unicode() > u'.') {
        text.append(u'.');
    }
    return text;
}

void TErrorReport::Show(const QString& text) {
    TOpenFlag openFlag(open_);
    ++shown_;
    QWidget* parent = QApplication::activeWindow();
    if (parent == nullptr) {
        parent = mainWindow_;
    }
    QMessageBox box(QMessageBox::Critical, caption_, text, QMessageBox::Ok, parent);
    // Messages may quote what the user typed: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace ornet5
