// The Qt adapters the program is given: the window thread's queue, regional
// formats, the Escape key, and the quit signals.

#include <gtest/gtest.h>

#include <csignal>
#include <numeric>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QWidget>

#include "app/qt/escape_key.h"
#include "app/qt/qt_window_thread.h"
#include "app/qt/regional_formats.h"
#include "app/qt/signal_quit.h"
#include "tests/qt/app_test_support.h"
#include "tests/qt/x11_fake_key.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

// The detector's events come from its own thread: they must run on the
// window thread, in the order posted, and none once the queue is gone.
TEST(QtWindowThread, CallsFromAnotherThreadRunInOrderOnTheWindowThread) {
    std::vector<int> ran;
    bool allOnWindowThread = true;
    {
        TQtWindowThread queue;
        std::thread poster([&] {
            for (int i = 0; i < 100; ++i) {
                queue.Post([&, i] {
                    ran.push_back(i);
                    allOnWindowThread &= QThread::currentThread() == qApp->thread();
                });
            }
        });
        poster.join();
        ASSERT_TRUE(test::WaitUntil([&] { return ran.size() == 100; }));
        queue.Post([&] { ran.push_back(-1); });
    }
    QTest::qWait(50);
    EXPECT_TRUE(allOnWindowThread);
    std::vector<int> expected(100);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(ran, expected);
}

TEST(RegionalFormats, TimeZoneFieldsAreDropped) {
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss t"), "HH:mm:ss");
    EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), "h:mm:ss AP");
    EXPECT_EQ(WithoutTimeZone("h:mm:ss AP tttt"), "h:mm:ss AP");
    EXPECT_EQ(WithoutTimeZone("t HH:mm:ss"), "HH:mm:ss");
    EXPECT_EQ(WithoutTimeZone("HH:mm t ss"), "HH:mm ss");
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss"), "HH:mm:ss");
    // Quoted text stays as it is, a "t" in it included.
    EXPECT_EQ(WithoutTimeZone("HH 'at' mm t"), "HH 'at' mm");
    EXPECT_EQ(WithoutTimeZone("H 'h' mm 'min' ss 's' t"), "H 'h' mm 'min' ss 's'");
}

TEST(RegionalFormats, FollowTheLocale) {
    EXPECT_EQ(TQtRegionalFormats(QLocale(QLocale::Russian, QLocale::Russia)).DecimalSeparator(),
              ",");
    EXPECT_EQ(TQtRegionalFormats(QLocale(QLocale::German, QLocale::Germany)).DecimalSeparator(),
              ",");
    EXPECT_EQ(
        TQtRegionalFormats(QLocale(QLocale::English, QLocale::UnitedStates)).DecimalSeparator(),
        ".");
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        const TQtRegionalFormats formats(locale);
        EXPECT_FALSE(formats.LongTimeFormat().contains(u't')) << locale.name().toStdString();
    }
    const QString now = QString::fromStdString(TQtRegionalFormats(QLocale::c()).LongTimeNow());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(now).hasMatch())
        << now.toStdString();
}

TEST(EscapeKey, FollowsTheKeyWhereverTheFocusIs) {
    TEscapeKey escape;
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(escape.IsDown());
    QTest::keyPress(&window, Qt::Key_Escape);
    if (escape.ReadsX11KeyMap()) {
        // The server's key map knows no key that only Qt was told of.
        EXPECT_FALSE(escape.IsDown());
    } else {
        EXPECT_TRUE(escape.IsDown());
    }
    QTest::keyPress(&window, Qt::Key_A);
    EXPECT_EQ(escape.IsDown(), !escape.ReadsX11KeyMap());
    QTest::keyRelease(&window, Qt::Key_Escape);
    EXPECT_FALSE(escape.IsDown());
}

TEST(EscapeKey, ReadsTheX11KeyMapOnlyOnX11) {
    TEscapeKey escape;
    EXPECT_EQ(escape.ReadsX11KeyMap(), QGuiApplication::platformName() == "xcb");
}

TEST(EscapeKey, OnX11FollowsThePhysicalKeyWithoutAnyEvent) {
    TEscapeKey escape;
    if (!escape.ReadsX11KeyMap()) {
        GTEST_SKIP() << "not on X11";
    }
    const std::uint8_t keyCode = escape.X11KeyCode();
    ASSERT_NE(keyCode, 0);
    // No event loop runs in between: the state is read from the server.
    ASSERT_TRUE(test::FakeX11Key(keyCode, true));
    EXPECT_TRUE(escape.IsDown());
    ASSERT_TRUE(test::FakeX11Key(keyCode, false));
    EXPECT_FALSE(escape.IsDown());
}

TEST(SignalQuit, EachQuitSignalCallsBackOnTheEventLoop) {
    int calls = 0;
    {
        const TSignalQuit quit([&] { ++calls; });
        int expected = 0;
        for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
            ASSERT_EQ(std::raise(signalNumber), 0);
            // Nothing happens inside the signal handler itself.
            EXPECT_EQ(calls, expected);
            ++expected;
            ASSERT_TRUE(test::WaitUntil([&] { return calls == expected; }, 5s)) << signalNumber;
        }
    }
    // Gone with the object: the default handling is back.
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current {};
        ASSERT_EQ(sigaction(signalNumber, nullptr, &current), 0);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
    }
}

}  // namespace
}  // namespace ornet5
