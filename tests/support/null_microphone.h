// Tests that speak into a microphone: a null sink of the test's own, whose
// monitor is offered as a source and made the default audio input, so what
// the test plays into that sink is what a recogniser hears, and nothing
// that other tests play on the default sink. Qt lists no monitor as an audio
// input, hence the remapped source.
//
// The default audio input is one for the whole sound server: tests with a
// microphone hold the CTest resource lock "microphone".
#pragma once

#include <QProcess>
#include <QString>
#include <filesystem>
#include <unistd.h>

#include "tests/support/real_audio.h"
#include "tests/support/spoken_phrase.h"
#include "tests/support/wait_for.h"

namespace tarvok::test {

class NullMicrophone : public RealAudio {
protected:
    void SetUp() override {
        RealAudio::SetUp();
        if (IsSkipped() || HasFailure()) return;
        const QString id = QString::number(::getpid());
        sink_ = "tarvok_test_speaker_" + id;
        ASSERT_TRUE(loadModule({"module-null-sink", "sink_name=" + sink_}));
        ASSERT_TRUE(loadModule(
            {"module-remap-source", "master=" + sink_ + ".monitor", "source_name=tarvok_test_microphone_" + id}));
        ASSERT_TRUE(runTool("pactl", {"set-default-source", "tarvok_test_microphone_" + id}));
    }
    void TearDown() override {
        for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) runTool("pactl", {"unload-module", *it});
    }

    // Plays a recording into the microphone; true when it played to its end.
    bool play(const std::filesystem::path& wav) const {
        QProcess paplay;
        paplay.start("paplay", {"--device=" + sink_, QString::fromStdString(wav.string())});
        return waitFor([&] { return paplay.state() == QProcess::NotRunning; }, 10000) &&
               paplay.exitStatus() == QProcess::NormalExit && paplay.exitCode() == 0;
    }

private:
    bool loadModule(const QStringList& arguments) {
        QProcess pactl;
        pactl.start("pactl", QStringList{"load-module"} + arguments);
        if (!pactl.waitForFinished(10000) || pactl.exitCode() != 0) {
            ADD_FAILURE() << pactl.readAllStandardError().toStdString();
            return false;
        }
        modules_.push_back(QString::fromUtf8(pactl.readAllStandardOutput()).trimmed());
        return true;
    }

    QString sink_;
    QStringList modules_;
};

}  // namespace tarvok::test
