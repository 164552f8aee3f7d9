// The reminder chime "beep.wav": decoded once at start-up, played from memory.
#pragma once

#include "core/ChimePlayback.h"
#include "shell/Chime.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAudioSink;

class BeepSound : public Chime
{
public:
    static constexpr const char* FileName = "beep.wav";

    // Where "beep.wav" is looked for, in order: the current directory, the executable's
    // directory, the installed data directory.
    static std::vector<std::filesystem::path> searchPath(const std::filesystem::path& exeDir);
    // Decodes the first file of the search path that exists (the one in the current directory
    // when none does), at most ChimeDecoder::MaxBytes of it. When the file cannot be opened, is
    // not a regular file (a pipe, a device, a folder) or yields no sound, error holds the file
    // and the reason.
    static std::unique_ptr<BeepSound> open(const std::filesystem::path& exeDir, QString& error);

    ~BeepSound() override;
    BeepSound(const BeepSound&) = delete;
    BeepSound& operator=(const BeepSound&) = delete;

    void play() override;
    void stop() override;

private:
    BeepSound(std::vector<std::int16_t> samples, int sampleRate, int channels);
    ChimePlayback::Output output() const;

    std::vector<std::int16_t> m_samples; // interleaved
    QByteArray m_pcm;                    // the same samples, as bytes for the buffer
    QBuffer m_buffer;
    int m_sampleRate;
    int m_channels;
    std::unique_ptr<QAudioSink> m_sink;
};
