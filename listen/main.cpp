// tarvok-listen: recognises the settings program's spoken commands.
//
//   tarvok-listen [--model DIR]                  listen on the default audio input
//   tarvok-listen [--model DIR] --input FILE.wav the commands in a recording
//   tarvok-listen --words                        the phrases it knows
//
// Exit codes: 0 done (a command found in --input; listening ended by
// SIGINT or SIGTERM), 1 no command in the --input recording, 2 wrong
// command line, 3 no speech model, 4 no audio input or an unreadable
// recording, 5 another recogniser runs or the window could not be announced.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "common/voice_commands.h"
#include "listen/listener.h"
#include "listen/microphone.h"
#include "listen/recogniser.h"
#include "listen/speech_file.h"
#include "platform/program_end.h"
#include "platform/window_presence.h"

namespace {

using namespace tarvok::listen;

enum Exit { Done = 0, NoCommand = 1, Usage = 2, NoModel = 3, NoAudio = 4, NoWindow = 5 };

constexpr const char* usage =
    "Usage: tarvok-listen [--model DIR] [--input FILE.wav]\n"
    "       tarvok-listen --words\n"
    "Recognises the spoken commands of the Tarvok settings program.\n"
    "Without --input it listens on the default audio input and types each\n"
    "command into the settings window; --input FILE.wav prints the commands\n"
    "said in a recording; --words prints every command phrase.\n"
    "--model DIR: the pocketsphinx en-us acoustic model (default %s).\n"
    "Exit codes: 0 done, 1 no command in the recording, 2 wrong command line,\n"
    "3 no speech model, 4 no audio input or unreadable recording,\n"
    "5 another recogniser runs or its window could not be announced.\n";

int socketPair[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] auto n = ::write(socketPair[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the window titles are withdrawn.
void quitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, socketPair) != 0) return;
    auto* notifier = new QSocketNotifier(socketPair[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int recogniseFile(Recogniser& recogniser, const std::string& file) {
    std::string error;
    const auto samples = readSpeechFile(file, error);
    if (!samples) {
        std::fprintf(stderr, "tarvok-listen: %s\n", error.c_str());
        return NoAudio;
    }
    bool any = false;
    for (const Hearing& h : recogniseRecording(recogniser, *samples)) {
        if (h.phrase.empty()) continue;
        std::printf("%s\n", h.phrase.c_str());
        any = true;
    }
    if (!any) std::printf("no command\n");
    return any ? Done : NoCommand;
}

int listen(QCoreApplication& app, Recogniser& recogniser) {
    if (!Microphone::available()) {
        std::fprintf(stderr, "tarvok-listen: No audio input found: connect a microphone and start again\n");
        return NoAudio;
    }
    auto presence = tarvok::createWindowPresence(&app);
    Listener listener(*presence);
    Microphone microphone([&](std::span<const std::int16_t> samples) {
        for (const Hearing& h : recogniser.feed(samples)) {
            if (h.phrase.empty()) continue;
            const std::string to = listener.hear(h.phrase);
            std::printf("%s%s%s\n", h.phrase.c_str(), to.empty() ? "" : " -> ", to.c_str());
            std::fflush(stdout);
        }
    });
    QObject::connect(&microphone, &Microphone::report, &app, [](const QString& text) {
        std::fprintf(stderr, "tarvok-listen: %s\n", text.toLocal8Bit().constData());
    });
    QObject::connect(&listener, &Listener::microphoneSwitched, &app, [&](bool on) {
        // Whatever was half heard before the switch is dropped.
        recogniser.reset();
        microphone.setOn(on);
    });
    // Listening before the title says so: a phrase said the moment the title
    // shows is heard.
    microphone.setOn(listener.microphoneOn());
    std::string error;
    if (!listener.start(error)) {
        std::fprintf(stderr, "tarvok-listen: %s\n", error.c_str());
        return NoWindow;
    }
    std::printf("listening: %s\n", listener.title().c_str());
    std::fflush(stdout);
    quitOnSignals(app);
    app.exec();
    microphone.setOn(false);
    presence->withdraw();
    return Done;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string model = Recogniser::defaultModel().string();
    std::string input;
    bool words = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--words") words = true;
        else if (arg == "--input" && i + 1 < argc) input = argv[++i];
        else if (arg == "--model" && i + 1 < argc) model = argv[++i];
        else if (arg == "--help" || arg == "-h") {
            std::printf(usage, Recogniser::defaultModel().c_str());
            return Done;
        } else {
            std::fprintf(stderr, usage, Recogniser::defaultModel().c_str());
            return Usage;
        }
    }
    if (words) {
        for (std::string_view phrase : tarvok::voiceCommandPhrases())
            std::printf("%.*s\n", int(phrase.size()), phrase.data());
        return Done;
    }
    std::string error;
    auto recogniser = Recogniser::open(model, error);
    if (!recogniser) {
        std::fprintf(stderr, "tarvok-listen: %s\n", error.c_str());
        return NoModel;
    }
    tarvok::endProgram(input.empty() ? listen(app, *recogniser) : recogniseFile(*recogniser, input));
}
