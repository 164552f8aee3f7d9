// The reminder chime: libsndfile decodes it, QAudioSink plays it from a buffer.
#include "qt/BeepSound.h"
#include "qt/ChimeDecoder.h"
#include "qt/ChimeFile.h"

#include "core/Texts.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

#include <sndfile.h>

#include <system_error>

std::vector<std::filesystem::path> BeepSound::searchPath(const std::filesystem::path& exeDir)
{
    return {std::filesystem::path(FileName), exeDir / FileName,
            std::filesystem::path(RUPETA_DATA_DIR) / FileName};
}

std::unique_ptr<BeepSound> BeepSound::open(const std::filesystem::path& exeDir, QString& error)
{
    const auto candidates = searchPath(exeDir);
    std::filesystem::path file = candidates.front();
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (std::filesystem::exists(candidate, ec)) {
            file = candidate;
            break;
        }
    }

    SF_INFO info{};
    std::string reason;
    SNDFILE* sound = ChimeFile::open(file, info, reason);
    std::optional<ChimeDecoder::Chime> chime;
    if (sound != nullptr) {
        chime = ChimeDecoder::decode(sound, info, reason);
        sf_close(sound);
    }
    if (!chime) {
        error = QString::fromStdString(Texts::soundFileError(file.string(), reason));
        return nullptr;
    }
    return std::unique_ptr<BeepSound>(
        new BeepSound(std::move(chime->samples), chime->sampleRate, chime->channels));
}

BeepSound::BeepSound(std::vector<std::int16_t> samples, int sampleRate, int channels)
    : m_samples(std::move(samples)),
      // A view, not a copy: the chime is held once.
      m_pcm(
          QByteArray::fromRawData(reinterpret_cast<const char*>(m_samples.data()),
                                  static_cast<qsizetype>(m_samples.size() * sizeof(std::int16_t)))),
      m_sampleRate(sampleRate), m_channels(channels)
{
    m_buffer.setBuffer(&m_pcm);
    m_buffer.open(QIODevice::ReadOnly);
    m_buffer.seek(m_buffer.size()); // the first play starts from the beginning
}

BeepSound::~BeepSound() = default;

void BeepSound::play()
{
    if (!m_sink) {
        // No sound server: a sink would never finish, so stay silent.
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            return;
        }
        QAudioFormat format;
        format.setSampleRate(m_sampleRate);
        format.setChannelCount(m_channels);
        format.setSampleFormat(QAudioFormat::Int16);
        m_sink = std::make_unique<QAudioSink>(device, format);
        // Hand the chime over in small pieces: were it all queued at the sound server at once,
        // a stop could not keep the place where it was cut.
        m_sink->setBufferSize(format.bytesForDuration(100'000));
        // Idle means the whole chime was handed over; an idle stream left open keeps the
        // sound server waking the program, so close it until the next reminder, once the
        // server has had the time to play what it still holds.
        QObject::connect(m_sink.get(), &QAudioSink::stateChanged, [this](QAudio::State state) {
            if (state != QAudio::IdleState || !m_buffer.atEnd()) {
                return;
            }
            const qint64 heldMs = m_sink->format().durationForBytes(m_sink->bufferSize()) / 1000;
            QTimer::singleShot(heldMs + 250, m_sink.get(), [this] {
                if (m_sink->state() == QAudio::IdleState) {
                    m_sink->stop();
                }
            });
        });
    }
    switch (ChimePlayback::play(output(), m_buffer.atEnd())) {
    case ChimePlayback::Action::Resume:
        m_sink->resume();
        break;
    case ChimePlayback::Action::StartOver:
        m_buffer.seek(0);
        m_sink->start(&m_buffer);
        break;
    case ChimePlayback::Action::Start:
        m_sink->start(&m_buffer);
        break;
    default:
        break;
    }
}

void BeepSound::stop()
{
    if (!m_sink) {
        return;
    }
    switch (ChimePlayback::stop(output(), m_buffer.atEnd())) {
    case ChimePlayback::Action::Close:
        m_sink->stop();
        break;
    case ChimePlayback::Action::Suspend:
        m_sink->suspend();
        break;
    default:
        break;
    }
}

ChimePlayback::Output BeepSound::output() const
{
    switch (m_sink->state()) {
    case QAudio::ActiveState:
        return ChimePlayback::Output::Active;
    case QAudio::SuspendedState:
        return ChimePlayback::Output::Suspended;
    case QAudio::IdleState:
        return ChimePlayback::Output::Idle;
    case QAudio::StoppedState:
        break;
    }
    return ChimePlayback::Output::Stopped;
}
