// Tests that speak into a microphone: the PulseAudio null sink's monitor
// offered as a source of its own and made the default audio input, so what
// a test plays (paplay to the default sink) is what a recogniser hears. Qt
// lists no monitor as an audio input, hence the remapped source.
#pragma once

#include <QProcess>
#include <QString>
#include <filesystem>

#include "tests/support/real_audio.h"
#include "tests/support/spoken_phrase.h"
#include "tests/support/wait_for.h"

namespace tarvok::test {

class NullMicrophone : public RealAudio {
protected:
    void SetUp() override {
        RealAudio::SetUp();
        if (IsSkipped() || HasFailure()) return;
        QProcess pactl;
        pactl.start("pactl", {"load-module", "module-remap-source", "master=null.monitor",
                              "source_name=tarvok_test_microphone"});
        ASSERT_TRUE(pactl.waitForFinished(10000) && pactl.exitCode() == 0)
            << pactl.readAllStandardError().toStdString();
        module_ = QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
        ASSERT_TRUE(runTool("pactl", {"set-default-source", "tarvok_test_microphone"}));
    }
    void TearDown() override {
        if (!module_.isEmpty()) runTool("pactl", {"unload-module", module_});
    }

    // Plays a recording into the null sink; true when it played to its end.
    static bool play(const std::filesystem::path& wav) {
        QProcess paplay;
        paplay.start("paplay", {QString::fromStdString(wav.string())});
        return waitFor([&] { return paplay.state() == QProcess::NotRunning; }, 10000) &&
               paplay.exitStatus() == QProcess::NormalExit && paplay.exitCode() == 0;
    }

private:
    QString module_;
};

}  // namespace tarvok::test
