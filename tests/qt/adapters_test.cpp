// The Qt adapters the settings window is given: ticks, regional formats,
// the Escape key, and the quit signals.

#include <gtest/gtest.h>

#include <csignal>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include "app/qt/escape_key.h"
#include "app/qt/qt_tick_source.h"
#include "app/qt/regional_formats.h"
#include "app/qt/signal_quit.h"
#include "tests/qt/app_test_support.h"
#include "tests/qt/x11_fake_key.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

TEST(QtTickSource, TicksUntilStoppedAndRestartsWithANewHandler) {
    TQtTickSource ticks;
    EXPECT_FALSE(ticks.IsRunning());
    int first = 0;
    ticks.Start(20ms, [&] { ++first; });
    EXPECT_TRUE(ticks.IsRunning());
    ASSERT_TRUE(test::WaitUntil([&] { return first >= 3; }));

    int second = 0;
    ticks.Start(20ms, [&] { ++second; });
    const int firstAtRestart = first;
    ASSERT_TRUE(test::WaitUntil([&] { return second >= 2; }));
    EXPECT_EQ(first, firstAtRestart);

    ticks.Stop();
    EXPECT_FALSE(ticks.IsRunning());
    const int secondAtStop = second;
    QTest::qWait(100);
    EXPECT_EQ(second, secondAtStop);
}

TEST(QtTickSource, HandlerMayStopItsOwnSource) {
    TQtTickSource ticks;
    int count = 0;
    ticks.Start(10ms, [&] {
        ++count;
        ticks.Stop();
    });
    ASSERT_TRUE(test::WaitUntil([&] { return count >= 1; }));
    QTest::qWait(60);
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(ticks.IsRunning());
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
