// The recogniser's states as window titles, the two keystroke messages and
// where a heard phrase goes.
#include <gtest/gtest.h>

#include "listen/listener.h"
#include "tests/support/memory_presence.h"

namespace tarvok::listen {
namespace {

using test::MemoryPresence;
using test::PresenceRegistry;

struct Started {
    PresenceRegistry registry;
    MemoryPresence presence{registry};
    MemoryPresence settings{registry};  // the settings program's side
    Listener listener{presence};
    Started() {
        std::string error;
        EXPECT_TRUE(listener.start(error)) << error;
    }
    void keys(const char* k) { settings.send(presence.announced(), k); }
};

TEST(Listener, KeystrokesSwitchModeAndMicrophone) {
    struct Row {
        std::vector<const char*> keys;
        std::string_view title;
    };
    const Row rows[] = {
        {{}, dictationTitle},  // starts ready to type
        {{"^+O"}, microphoneOffTitle},
        {{"^+O", "^+O"}, dictationTitle},
        {{"^+O", "^+D"}, microphoneOffTitle},  // dictation chosen while muted stays muted
        {{"^+O", "^+D", "^+O"}, dictationTitle},
        {{"^+d", " ^+o "}, microphoneOffTitle},  // same keystroke in either case
        {{"^+X", "hello"}, dictationTitle},      // other messages change nothing
    };
    for (const Row& row : rows) {
        Started s;
        for (const char* k : row.keys) s.keys(k);
        EXPECT_EQ(s.presence.announced(), row.title) << row.keys.size();
        EXPECT_EQ(s.listener.title(), row.title);
    }
}

// Signalled while the old title still shows: the microphone is switched by
// the time a sender sees the new one.
TEST(Listener, MicrophoneSwitchIsSignalledBeforeTheTitleShowsIt) {
    Started s;
    std::vector<std::pair<bool, std::string>> switched;
    QObject::connect(&s.listener, &Listener::microphoneSwitched,
                     [&](bool on) { switched.emplace_back(on, s.presence.announced()); });
    s.keys("^+O");
    s.keys("^+D");
    s.keys("^+O");
    EXPECT_EQ(switched, (std::vector<std::pair<bool, std::string>>{{false, std::string(dictationTitle)},
                                                                   {true, std::string(microphoneOffTitle)}}));
}

TEST(Listener, PhraseGoesToTheOpenSettingsWindowOnlyWhileDictating) {
    Started s;
    EXPECT_EQ(s.listener.hear("poorten"), "");  // no settings window open
    s.registry.open("TARVOK - SETTINGS");
    EXPECT_EQ(s.listener.hear("poorten"), "TARVOK - SETTINGS");
    s.settings.announce("TARVOK - INSTELLINGEN");
    std::vector<std::string> typed;
    QObject::connect(&s.settings, &WindowPresence::messageReceived, [&](const std::string& t) { typed.push_back(t); });
    EXPECT_EQ(s.listener.hear("hoe laat is het"), "TARVOK - INSTELLINGEN");  // Dutch title first
    s.keys("^+O");
    EXPECT_EQ(s.listener.hear("stop"), "");  // muted: nothing typed
    s.keys("^+O");
    EXPECT_EQ(s.listener.hear(""), "");  // not a command
    EXPECT_EQ(typed, std::vector<std::string>{"hoe laat is het"});
    EXPECT_EQ(s.registry.sent, (std::vector<std::pair<std::string, std::string>>{{"TARVOK - SETTINGS", "poorten"}}));
}

TEST(Listener, RefusesToStartBesideAnotherRecogniser) {
    for (std::string_view other : {commandModeTitle, dictationTitle, microphoneOffTitle}) {
        PresenceRegistry registry;
        registry.open(std::string(other));
        MemoryPresence presence(registry);
        Listener listener(presence);
        std::string error;
        EXPECT_FALSE(listener.start(error));
        EXPECT_NE(error.find(std::string(other)), std::string::npos);
        EXPECT_EQ(presence.announced(), "");
    }
}

}  // namespace
}  // namespace tarvok::listen
