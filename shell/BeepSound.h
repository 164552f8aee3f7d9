// The reminder chime "beep.wav": decoded once at start-up, played from memory.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAudioSink;

class BeepSound
{
public:
    static constexpr const char* FileName = "beep.wav";

    // Where "beep.wav" is looked for, in order: the current directory, the executable's
    // directory, the installed data directory.
    static std::vector<std::filesystem::path> searchPath(const std::filesystem::path& exeDir);
    // Decodes the first file of the search path that exists (the one in the current directory
    // when none does). On failure, error holds the file and the decoder's reason.
    static std::unique_ptr<BeepSound> open(const std::filesystem::path& exeDir, QString& error);

    ~BeepSound();
    BeepSound(const BeepSound&) = delete;
    BeepSound& operator=(const BeepSound&) = delete;

    // Continues where the last stop left off; starts over only when the last playback ran to
    // the end. Silent when the machine has no audio output.
    void play();
    // Pauses, keeping the position.
    void stop();

private:
    BeepSound(QByteArray pcm, int sampleRate, int channels);

    QByteArray m_pcm; // 16-bit signed, interleaved
    QBuffer m_buffer;
    int m_sampleRate;
    int m_channels;
    std::unique_ptr<QAudioSink> m_sink;
};
