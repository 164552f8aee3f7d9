// Loading the chime: where it is looked for, and the message when it cannot be used.
#include "BeepSound.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

class TestBeepSound : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void foundBesideTheProgram();
    void currentDirectoryComesFirst();
    void unusableFileNamesFileAndReason_data();
    void unusableFileNamesFileAndReason();

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
    QTemporaryDir m_exeDir;
    QString m_oldDir;
    const QString m_beep = qEnvironmentVariable("RUPETA_BEEP");
};

void TestBeepSound::init()
{
    m_oldDir = QDir::currentPath();
    m_cwd = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_cwd->path()));
}

void TestBeepSound::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_cwd.reset();
}

// An installed or built program finds its chime even when started from elsewhere.
void TestBeepSound::foundBesideTheProgram()
{
    QString error;
    const auto exeDir = std::filesystem::path(m_beep.toStdString()).parent_path();
    QVERIFY2(BeepSound::open(exeDir, error) != nullptr, qPrintable(error));
}

// The current directory is searched first: a file there is the one used, even a broken one.
void TestBeepSound::currentDirectoryComesFirst()
{
    QFile broken(QStringLiteral("beep.wav"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("RIFF but not really a wave file");
    broken.close();
    QString error;
    const auto exeDir = std::filesystem::path(m_beep.toStdString()).parent_path();
    QVERIFY(BeepSound::open(exeDir, error) == nullptr);
    QVERIFY2(error.contains(QStringLiteral("\"beep.wav\"")), qPrintable(error));
}

void TestBeepSound::unusableFileNamesFileAndReason_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("not a sound") << QByteArray("[Timer]\r\nTimer=60\r\n") << true;
}

// Start-up must stop with a message that says which file and why.
void TestBeepSound::unusableFileNamesFileAndReason()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    const auto installed = std::filesystem::path(BeepSound::searchPath("").back());
    if (std::filesystem::exists(installed)) {
        QSKIP("an installed beep.wav would be found");
    }
    if (create) {
        QFile file(QStringLiteral("beep.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QString error;
    QVERIFY(BeepSound::open(m_exeDir.path().toStdString(), error) == nullptr);
    QVERIFY2(error.contains(QStringLiteral("\"beep.wav\"")), qPrintable(error));
    const QString reason = error.section(QLatin1Char('\n'), 1);
    QVERIFY2(reason.size() > 5, qPrintable(error));
}

QTEST_GUILESS_MAIN(TestBeepSound)
#include "test_BeepSound.moc"
