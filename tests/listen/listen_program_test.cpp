// tarvok-listen as a program: recordings through --input, and spoken
// commands played into a PulseAudio null sink whose monitor is the
// default audio input, arriving as messages at a settings window.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "listen/listener.h"
#include "listen/microphone.h"
#include "platform/window_presence.h"
#include "tests/support/null_microphone.h"
#include "tests/support/program_run.h"
#include "tests/support/spoken_phrase.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok::listen {
namespace {

using Outcome = test::ProgramRun;

Outcome runListen(const QStringList& args) { return test::runProgram(TARVOK_LISTEN, args); }

class ListenProgram : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString spoken(const std::string& text, const char* voice = "nl", int speed = 150) {
        const auto file = std::filesystem::path(dir.path().toStdString()) / (text + "-" + voice + ".wav");
        EXPECT_TRUE(test::renderSpeech(text, voice, speed, file)) << "espeak-ng or sox missing";
        return QString::fromStdString(file.string());
    }
};

TEST_F(ListenProgram, RecordingsGiveTheirPhraseOrNoCommand) {
    struct Row {
        QString file;
        int exitCode;
        std::string out;
    };
    QString noise = dir.filePath("noise.wav");
    ASSERT_TRUE(test::renderSound({"pinknoise", "vol", "0.3"}, 2.0, noise.toStdString()));
    const Row rows[] = {
        {spoken("poorten"), 0, "poorten\n"},
        {spoken("hoe laat is het", "nl+m3"), 0, "hoe laat is het\n"},
        {spoken("stop", "nl+f2"), 0, "stop\n"},
        {noise, 1, "no command\n"},
        {spoken("we gaan morgen met de auto naar het strand"), 1, "no command\n"},  // other speech
    };
    for (const Row& row : rows) {
        const Outcome r = runListen({"--input", row.file});
        EXPECT_EQ(r.exitCode, row.exitCode) << row.file.toStdString() << r.err;
        EXPECT_EQ(r.out, row.out) << row.file.toStdString();
    }
}

TEST_F(ListenProgram, WordsAndFailuresHaveClearAnswers) {
    const Outcome words = runListen({"--words"});
    EXPECT_EQ(words.exitCode, 0);
    EXPECT_EQ(words.out.substr(0, 14), "welkom\nzegwat\n");
    EXPECT_NE(words.out.find("\ndie verzen\n"), std::string::npos);

    QFile text(dir.filePath("text.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a recording");
    text.close();
    struct Row {
        QStringList args;
        int exitCode;
        std::string message;
    };
    const Row rows[] = {
        {{"--model", dir.path(), "--input", text.fileName()}, 3, "No speech model found"},
        {{"--input", text.fileName()}, 4, "is not a PCM WAV recording"},
        {{"--input", dir.filePath("missing.wav")}, 4, "no such file"},
        {{"--input", dir.path()}, 4, "not a file"},
        {{"--bogus"}, 2, "Usage: tarvok-listen"},
    };
    for (const Row& row : rows) {
        const Outcome r = runListen(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.args.join(' ').toStdString();
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    }
}

// The real path: the phrase is played into the test's microphone,
// tarvok-listen hears it and types it into the window this test announces;
// muted, it types nothing. The windows are the test's own (its runtime
// folder), never a recogniser or settings window the user has open.
class ListenRealAudio : public test::NullMicrophone {
protected:
    test::TempPrefix tp;
    void SetUp() override {
        test::NullMicrophone::SetUp();
        if (IsSkipped() || HasFailure()) return;
        ASSERT_TRUE(test::waitFor([] { return Microphone::available(); }, 5000));
    }
};

TEST_F(ListenRealAudio, SpokenPhraseArrivesAtTheSettingsWindowAndMutingStopsIt) {
    QTemporaryDir dir;
    const auto phrase = std::filesystem::path(dir.path().toStdString()) / "poorten.wav";
    ASSERT_TRUE(test::renderSpeech("poorten", "nl", 150, phrase, 0.2));

    auto settings = createWindowPresence();
    ASSERT_TRUE(settings->announce("TARVOK - INSTELLINGEN"));
    std::vector<std::string> typed;
    QObject::connect(settings.get(), &WindowPresence::messageReceived,
                     [&](const std::string& t) { typed.push_back(t); });

    QProcess listen;
    listen.start(TARVOK_LISTEN, {});
    auto isOpen = [&](std::string_view title) { return settings->isOpen(std::string(title)); };
    ASSERT_TRUE(test::waitFor([&] { return isOpen(dictationTitle); }, 20000))
        << listen.readAllStandardError().toStdString();

    auto play = [&] { return NullMicrophone::play(phrase); };
    // The input starts a moment after the title shows (and again after the
    // microphone comes back on), so the phrase is said again, a few times
    // at most, until one is heard: what is tested is where it arrives.
    auto sayUntilHeard = [&](std::size_t count) {
        for (int attempt = 0; attempt < 4 && typed.size() < count; ++attempt) {
            if (!play()) return false;
            test::waitFor([&] { return typed.size() >= count; }, 3000);
        }
        return typed.size() >= count;
    };
    EXPECT_TRUE(sayUntilHeard(1)) << listen.readAllStandardOutput().toStdString();
    EXPECT_EQ(typed, std::vector<std::string>{"poorten"});

    ASSERT_TRUE(settings->send(std::string(dictationTitle), "^+O"));
    ASSERT_TRUE(test::waitFor([&] { return isOpen(microphoneOffTitle); }, 15000));
    EXPECT_TRUE(test::waitFor([&] { return !isOpen(dictationTitle); }, 15000));
    ASSERT_TRUE(play());
    // Heard phrases arrive well within a second of their end.
    EXPECT_FALSE(test::waitFor([&] { return typed.size() > 1; }, 1500));

    ASSERT_TRUE(settings->send(std::string(microphoneOffTitle), "^+O"));
    ASSERT_TRUE(test::waitFor([&] { return isOpen(dictationTitle); }, 15000));
    EXPECT_TRUE(sayUntilHeard(2));
    EXPECT_EQ(typed, (std::vector<std::string>{"poorten", "poorten"}));

    listen.terminate();
    EXPECT_TRUE(test::waitFor([&] { return listen.state() == QProcess::NotRunning; }, 5000));
    EXPECT_EQ(listen.exitCode(), 0);
    EXPECT_FALSE(isOpen(dictationTitle));
}

}  // namespace
}  // namespace tarvok::listen
