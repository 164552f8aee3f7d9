// Termination signals: delivered once the event loop runs, an inherited "ignore" respected,
// and nothing the interrupted code can see changed by the handler.
#include "qt/platform/TerminationSignal.h"

#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <csignal>

class TestTerminationSignal : public QObject
{
    Q_OBJECT

private slots:
    void signalBeforeTheLoopClosesOnceItRuns();
    void inheritedIgnoreStaysIgnored();
    void handlerKeepsErrno();
};

// A logout during start-up must not be lost: it waits in the pipe for the event loop.
void TestTerminationSignal::signalBeforeTheLoopClosesOnceItRuns()
{
    TerminationSignal termination;
    QSignalSpy received(&termination, &TerminationSignal::received);
    QCOMPARE(::raise(SIGTERM), 0);
    QCOMPARE(::raise(SIGINT), 0);
    QCOMPARE(received.count(), 0);
    QTRY_COMPARE(received.count(), 1);
    QTest::qWait(50);
    QCOMPARE(received.count(), 1);
}

// Under nohup SIGHUP arrives ignored; the program must then survive a hang-up.
void TestTerminationSignal::inheritedIgnoreStaysIgnored()
{
    std::signal(SIGHUP, SIG_IGN);
    {
        TerminationSignal termination;
        QSignalSpy received(&termination, &TerminationSignal::received);
        QCOMPARE(::raise(SIGHUP), 0);
        QTest::qWait(50);
        QCOMPARE(received.count(), 0);
    }
    struct sigaction after = {};
    QCOMPARE(sigaction(SIGHUP, nullptr, &after), 0);
    QVERIFY(after.sa_handler == SIG_IGN);
    std::signal(SIGHUP, SIG_DFL);
}

// A signal can land between a failing call and the caller's look at errno; once the pipe is
// full the handler's own write() fails too, and must not leave its errno behind.
void TestTerminationSignal::handlerKeepsErrno()
{
    TerminationSignal termination;
    for (int i = 0; i < 20000; ++i) {
        errno = EDOM;
        ::raise(SIGTERM);
        QVERIFY2(errno == EDOM,
                 qPrintable(QStringLiteral("errno %1 after signal %2").arg(errno).arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestTerminationSignal)
#include "test_TerminationSignal.moc"
