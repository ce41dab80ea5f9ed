#pragma once

#include <functional>

#include <QObject>

class QSocketNotifier;

namespace ornet5 {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop's thread,
// so that they end the program the way closing the main window does. The
// signal handler only writes to a pipe; the call happens when the event
// loop reads it. One instance at a time; the default handling of the
// signals is restored when it is destroyed.
class TSignalQuit : public QObject {
    Q_OBJECT

  public:
    explicit TSignalQuit(std::function<void()> onSignal);
    ~TSignalQuit() override;

    TSignalQuit(const TSignalQuit&) = delete;
    TSignalQuit& operator=(const TSignalQuit&) = delete;

  private:
    void Drain();

    std::function<void()> onSignal_;
    int readFd_ = -1;
    int writeFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ornet5
