// Loading the chime: where it is looked for, and the message when it cannot be used.
#include "qt/BeepSound.h"
#include "qt/ChimeDecoder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sndfile.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

// Writes a sound with libsndfile: a 440 Hz tone, or silence.
bool writeSound(const char* path, int format, int channels, sf_count_t frames, bool tone = true)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = channels;
    info.format = format;
    SNDFILE* sound = sf_open(path, SFM_WRITE, &info);
    if (sound == nullptr) {
        return false;
    }
    std::vector<short> piece(static_cast<std::size_t>(4096 * channels));
    for (sf_count_t done = 0; done < frames;) {
        const sf_count_t n = std::min<sf_count_t>(4096, frames - done);
        for (sf_count_t i = 0; i < n * channels; ++i) {
            const double t = static_cast<double>(done + i / channels) / 44100;
            piece[static_cast<std::size_t>(i)] =
                tone ? static_cast<short>(8000 * std::sin(2 * M_PI * 440 * t)) : 0;
        }
        done += sf_writef_short(sound, piece.data(), n);
    }
    return sf_close(sound) == 0;
}

QByteArray readAll(const char* path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const char* path, const QByteArray& bytes)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Ogg pages carry a CRC-32 (polynomial 0x04C11DB7, not reflected) over the page with the CRC
// field zeroed; a page that fails it is skipped, so a patched page must be signed again.
void signOggPage(QByteArray& file, qsizetype page)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(file[page + i]); };
    qsizetype size = 27 + byte(26);
    for (int i = 0; i < byte(26); ++i) {
        size += byte(27 + i);
    }
    for (int i = 22; i < 26; ++i) {
        file[page + i] = 0;
    }
    std::uint32_t crc = 0;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint32_t>(byte(i)) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) != 0 ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    for (int i = 0; i < 4; ++i) {
        file[page + 22 + i] = static_cast<char>(crc >> (8 * i));
    }
}

// A real Ogg Vorbis chime, long enough for several audio pages, whose last page claims 2^62
// frames: the length libsndfile reports, times four bytes a stereo frame, wraps to zero.
bool writeOggWithFakedEnd(const char* path)
{
    if (!writeSound(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 3 * 44100)) {
        return false;
    }
    QByteArray file = readAll(path);
    const qsizetype last = file.lastIndexOf("OggS");
    if (last < 0) {
        return false;
    }
    const std::uint64_t granule = std::uint64_t{1} << 62;
    for (int i = 0; i < 8; ++i) {
        file[last + 6 + i] = static_cast<char>(granule >> (8 * i));
    }
    signOggPage(file, last);
    return writeAll(path, file);
}

// A FLAC whose stream header says "length unknown" (zero total samples), as a streaming
// encoder writes it; without frames, only its metadata is left.
bool writeFlacOfUnknownLength(const char* path, bool withFrames)
{
    if (!writeSound(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 22050)) {
        return false;
    }
    QByteArray file = readAll(path);
    // "fLaC", the block header, then STREAMINFO: its 36-bit sample count starts in the low
    // nibble of byte 13.
    if (!file.startsWith("fLaC") || file.size() < 26) {
        return false;
    }
    file[21] = static_cast<char>(file[21] & 0xF0);
    for (int i = 22; i < 26; ++i) {
        file[i] = 0;
    }
    if (!withFrames) {
        // Metadata blocks: a flag byte (0x80 on the last), then a 24-bit length.
        qsizetype block = 4;
        bool last = false;
        while (!last && block + 4 <= file.size()) {
            const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(file[i]); };
            last = (byte(block) & 0x80) != 0;
            block += 4 + (byte(block + 1) << 16 | byte(block + 2) << 8 | byte(block + 3));
        }
        file.truncate(block);
    }
    return writeAll(path, file);
}

long peakRssKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

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
    void hostileFileNeitherCrashesNorHoldsMemory_data();
    void hostileFileNeitherCrashesNorHoldsMemory();

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
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // empty: any reason of a few words
    QTest::newRow("missing") << QStringLiteral("missing") << QString();
    QTest::newRow("empty") << QStringLiteral("empty") << QString();
    QTest::newRow("not a sound") << QStringLiteral("text") << QString();
    // Opening a FIFO for reading waits for a writer: start-up would hang for ever.
    QTest::newRow("FIFO") << QStringLiteral("fifo")
                          << QStringLiteral("通常のファイルではなく、名前付きパイプです。");
    // An endless device would be read until the size limit, every start.
    QTest::newRow("link to /dev/zero")
        << QStringLiteral("device") << QStringLiteral("通常のファイルではなく、デバイスです。");
    QTest::newRow("folder") << QStringLiteral("folder")
                            << QStringLiteral("通常のファイルではなく、フォルダーです。");
}

// Start-up must stop with a message that says which file and why, and must never hang on
// what it finds under the chime's name.
void TestBeepSound::unusableFileNamesFileAndReason()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const auto installed = std::filesystem::path(BeepSound::searchPath("").back());
    if (std::filesystem::exists(installed)) {
        QSKIP("an installed beep.wav would be found");
    }
    const char* path = "beep.wav";
    if (kind == QLatin1String("empty")) {
        QVERIFY(writeAll(path, QByteArray()));
    } else if (kind == QLatin1String("text")) {
        QVERIFY(writeAll(path, "[Timer]\r\nTimer=60\r\n"));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(path, 0600), 0);
    } else if (kind == QLatin1String("device")) {
        QCOMPARE(::symlink("/dev/zero", path), 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(QString::fromLatin1(path)));
    }
    QString error;
    QVERIFY(BeepSound::open(m_exeDir.path().toStdString(), error) == nullptr);
    QVERIFY2(error.contains(QStringLiteral("\"beep.wav\"")), qPrintable(error));
    const QString told = error.section(QLatin1Char('\n'), 1);
    if (reason.isEmpty()) {
        QVERIFY2(told.size() > 5, qPrintable(error));
    } else {
        QCOMPARE(told, reason);
    }
}

enum class Hostile
{
    OggFakedEnd,
    FlacUnknownLength,
    FlacUnknownLengthNoFrames,
    LongSilence,
    WavNoFrames,
    WavThreeChannels
};
Q_DECLARE_METATYPE(Hostile)

void TestBeepSound::hostileFileNeitherCrashesNorHoldsMemory_data()
{
    QTest::addColumn<Hostile>("kind");
    QTest::addColumn<QString>("reason"); // empty: the chime opens
    QTest::newRow("ogg with a faked end position") << Hostile::OggFakedEnd << QString();
    QTest::newRow("flac of unknown length") << Hostile::FlacUnknownLength << QString();
    QTest::newRow("flac of unknown length, no frames")
        << Hostile::FlacUnknownLengthNoFrames << QStringLiteral("音のデータがありません。");
    QTest::newRow("ten minutes of silence") << Hostile::LongSilence << QString();
    QTest::newRow("wave without frames")
        << Hostile::WavNoFrames << QStringLiteral("音のデータがありません。");
    QTest::newRow("three channels")
        << Hostile::WavThreeChannels << QStringLiteral("3 チャンネルの音は鳴らせません。");
}

// Whatever a file's header claims, start-up neither crashes nor keeps more than the 30 s that
// can ever play; a file without sound stops it with a reason the user can read.
void TestBeepSound::hostileFileNeitherCrashesNorHoldsMemory()
{
    QFETCH(Hostile, kind);
    QFETCH(QString, reason);
    const char* path = "beep.wav";
    bool written = false;
    switch (kind) {
    case Hostile::OggFakedEnd:
        written = writeOggWithFakedEnd(path);
        break;
    case Hostile::FlacUnknownLength:
        written = writeFlacOfUnknownLength(path, true);
        break;
    case Hostile::FlacUnknownLengthNoFrames:
        written = writeFlacOfUnknownLength(path, false);
        break;
    case Hostile::LongSilence:
        written = writeSound(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 600 * 44100, false);
        break;
    case Hostile::WavNoFrames:
        written = writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 0);
        break;
    case Hostile::WavThreeChannels:
        written = writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 4410);
        break;
    }
    QVERIFY(written);

    const long before = peakRssKib();
    QString error;
    const auto sound = BeepSound::open(m_exeDir.path().toStdString(), error);
    const long grownKib = peakRssKib() - before;
    QVERIFY2(grownKib < static_cast<long>(2 * ChimeDecoder::MaxBytes / 1024),
             qPrintable(QStringLiteral("peak RSS grew by %1 KiB").arg(grownKib)));
    if (reason.isEmpty()) {
        QVERIFY2(sound != nullptr, qPrintable(error));
    } else {
        QVERIFY(sound == nullptr);
        QCOMPARE(error, QStringLiteral("サウンド ファイル \"beep.wav\" を開けません。\n") + reason);
    }
}

QTEST_GUILESS_MAIN(TestBeepSound)
#include "test_BeepSound.moc"
