// The compositor's idle reports over a real Wayland connection, against a stand-in compositor
// that offers ext-idle-notify-v1, org_kde_kwin_idle or neither.
#include "qt/platform/WaylandIdleSource.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

class TestWaylandIdleSource : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void idleAndResumedArriveAsReported_data();
    void idleAndResumedArriveAsReported();
    void withoutAnIdleProtocolThereIsNoSource();

private:
    // Starts the stand-in offering OFFER; false when it does not come up.
    bool startCompositor(const QString& offer);
    QByteArray readLine();

    std::unique_ptr<QTemporaryDir> m_runtime;
    std::unique_ptr<QProcess> m_compositor;
};

void TestWaylandIdleSource::init()
{
    m_runtime = std::make_unique<QTemporaryDir>();
    QVERIFY(m_runtime->isValid());
    QFile::setPermissions(m_runtime->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_runtime->path().toLocal8Bit());
    qputenv("WAYLAND_DISPLAY", "idle-test");
}

void TestWaylandIdleSource::cleanup()
{
    if (m_compositor) {
        m_compositor->closeWriteChannel(); // it ends at the end of its input
        QVERIFY(m_compositor->waitForFinished(5000));
        m_compositor.reset();
    }
    m_runtime.reset();
}

bool TestWaylandIdleSource::startCompositor(const QString& offer)
{
    m_compositor = std::make_unique<QProcess>();
    m_compositor->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_compositor->start(qEnvironmentVariable("RUPETA_IDLE_COMPOSITOR"),
                        {QStringLiteral("idle-test"), offer});
    return m_compositor->waitForStarted(5000) && readLine() == "ready";
}

QByteArray TestWaylandIdleSource::readLine()
{
    while (!m_compositor->canReadLine()) {
        if (!m_compositor->waitForReadyRead(5000)) {
            return {};
        }
    }
    return m_compositor->readLine().trimmed();
}

void TestWaylandIdleSource::idleAndResumedArriveAsReported_data()
{
    QTest::addColumn<QString>("offer");
    QTest::newRow("ext-idle-notify-v1") << QStringLiteral("ext");
    QTest::newRow("org_kde_kwin_idle") << QStringLiteral("kde");
}

void TestWaylandIdleSource::idleAndResumedArriveAsReported()
{
    QFETCH(QString, offer);
    QVERIFY(startCompositor(offer));
    const auto source = WaylandIdleSource::connect();
    QVERIFY(source != nullptr);
    QCOMPARE(readLine(), QByteArray("timeout ") + QByteArray::number(IdleSource::TimeoutMs));

    std::vector<bool> reports;
    source->changed = [&](bool idle) { reports.push_back(idle); };
    for (const char* line : {"idle\n", "resume\n", "idle\n"}) {
        m_compositor->write(line);
    }
    QTRY_COMPARE(reports, (std::vector<bool>{true, false, true}));
}

void TestWaylandIdleSource::withoutAnIdleProtocolThereIsNoSource()
{
    // No compositor at all, then one with a seat but neither idle protocol.
    QVERIFY(WaylandIdleSource::connect() == nullptr);
    QVERIFY(startCompositor(QStringLiteral("none")));
    QVERIFY(WaylandIdleSource::connect() == nullptr);
}

QTEST_MAIN(TestWaylandIdleSource)
#include "test_WaylandIdleSource.moc"
