// Speech recordings made for tests and benchmarks: a text spoken by
// espeak-ng's Dutch voice (or noise and silence made with sox) as a 16 kHz
// mono 16-bit WAV file, the form tarvok-listen takes.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>

namespace tarvok::test {

inline bool runTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// `text` said by `voice` ("nl", "nl+m3", ...) at `wordsPerMinute`, with
// 0.3 s of silence before and `trailingSeconds` after, written to `wav`.
inline bool renderSpeech(const std::string& text, const std::string& voice, int wordsPerMinute,
                         const std::filesystem::path& wav, double trailingSeconds = 0.8) {
    const std::filesystem::path raw = wav.string() + ".espeak.wav";
    const bool ok =
        runTool("espeak-ng", {"-v", QString::fromStdString(voice), "-s", QString::number(wordsPerMinute), "-w",
                              QString::fromStdString(raw.string()), QString::fromStdString(text)}) &&
        runTool("sox", {QString::fromStdString(raw.string()), "-r", "16000", "-c", "1", "-b", "16",
                        QString::fromStdString(wav.string()), "pad", "0.3", QString::number(trailingSeconds)});
    std::error_code ec;
    std::filesystem::remove(raw, ec);
    return ok;
}

// A recording made by sox's synthesiser: `effect` as sox takes it after
// "synth SECONDS" (for example {"whitenoise", "vol", "0.3"}); an empty
// effect gives silence. Noise is the same on every run (sox's repeatable
// mode).
inline bool renderSound(const QStringList& effect, double seconds, const std::filesystem::path& wav) {
    QStringList args{"-R", "-n", "-r", "16000", "-c", "1", "-b", "16", QString::fromStdString(wav.string())};
    if (effect.isEmpty())
        args << "trim"
             << "0" << QString::number(seconds);
    else args << "synth" << QString::number(seconds) << effect;
    return runTool("sox", args);
}

}  // namespace tarvok::test
