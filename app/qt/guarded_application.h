#pragma once

#include <exception>
#include <functional>

#include <QApplication>

namespace ornet5 {

// The application object. An error that escapes an event handler (a menu
// command, a window event, a timer tick) is caught here and handed to the
// error handler; the event loop then goes on with the next event.
class TGuardedApplication : public QApplication {
    Q_OBJECT

  public:
    using ErrorHandler = std::function<void(const std::exception&)>;

    TGuardedApplication(int& argc, char** argv);

    void SetErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    void HandleError(const std::exception& error);

    ErrorHandler errorHandler_;
};

}  // namespace ornet5
