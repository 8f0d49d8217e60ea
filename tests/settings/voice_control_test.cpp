// Spoken commands without a window: the text a command is taken from, the
// change dialog's steps and the error reply.
#include <gtest/gtest.h>

#include "settings/voice_control.h"

namespace tarvok::settings {
namespace {

using Prompts = std::vector<std::string>;
using C = VoiceCommand;

TEST(VoiceCommands, TextIsTrimmedLowerCasedAndLookedUpWhole) {
    struct Row {
        const char* box;
        const char* text;
        std::optional<VoiceCommand> command;
    } rows[] = {
        {"Stop ", "stop", C::Stop},
        {"  KAARTEN", "kaarten", C::MapsPage},
        {"Die Verzen", "die verzen", C::MiscellaneousPage},
        {"hoe laat is het", "hoe laat is het", C::Time},
        {"week", "week", C::No},
        {"Jaar", "jaar", C::Yes},
        {"ja ja", "ja ja", std::nullopt},
        {"zegwatpoorten", "zegwatpoorten", std::nullopt},
        {"  ", "", std::nullopt},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(commandText(r.box), r.text) << r.box;
        EXPECT_EQ(voiceCommandOf(commandText(r.box)), r.command) << r.box;
    }
    EXPECT_EQ(pageOfCommand(C::PortsPage), 2);
    EXPECT_EQ(pageOfCommand(C::Yes), 0);
}

TEST(VoiceCommands, ErrorReplyRoundsHalvesToEven) {
    struct Row {
        double random;
        const char* reply;
    } rows[] = {
        {0.0, "INfout1.WAV"},     {0.1666, "INfout1.WAV"},              // 1.4998
        {1.0 / 6, "INfout2.WAV"},                                       // 1.5: to the even 2
        {0.5, "INfout2.WAV"},                                           // 2.5: to the even 2, not 3
        {0.5001, "INfout3.WAV"},  {0.8333333333333333, "INfout4.WAV"},  // 3.5: to the even 4
        {0.9999, "INfout4.WAV"},  {7.0, "INfout4.WAV"},                 // a source out of range stays in the set
    };
    for (const Row& r : rows) EXPECT_EQ(errorReply(r.random), r.reply) << r.random;
}

// Every step of the change dialog that takes no "nee": what it says and
// where it goes; a step the dialog lacks gives the error reply (null).
TEST(ChangeDialog, EachPageWalksThroughItsValues) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    for (auto [f, v] : std::initializer_list<std::pair<field::Field, const char*>>{{field::MapProduct, "7"},
                                                                                   {field::SpeedUnit, "2"},
                                                                                   {field::CloseWindows, "1"},
                                                                                   {field::BaudRate, "4800 "},
                                                                                   {field::Parity, "1"},
                                                                                   {field::DataBits, "8"},
                                                                                   {field::GpsPort, "2"},
                                                                                   {field::RouteSource, "0"},
                                                                                   {field::CrossSize, "05"},
                                                                                   {field::RecordRoute, "1"},
                                                                                   {field::SoundOn, "1"},
                                                                                   {field::KeyboardSize, "2"},
                                                                                   {field::MenuStyle, "3"},
                                                                                   {field::ColourScheme, "0"}})
        s.writeRaw(f.pos, f.width, v);
    const auto verander = DialogAnswer::Change, ja = DialogAnswer::Yes, nee = DialogAnswer::No;
    struct Row {
        int code;
        DialogAnswer answer;
        Prompts says;  // empty: the error reply
        int next;
    } rows[] = {
        {0, verander, {"INveran0.WAV", "INcdrom7.WAV", "INok1.WAV"}, 0},
        {0, ja, {"INeinde6.WAV"}, 1},
        {1, ja, {}, 0},
        {1, verander, {}, 0},
        {1, nee, {}, 0},
        {100, verander, {"INveran1.WAV", "INsnel2.WAV", "INok1.WAV"}, 100},
        {100, ja, {"INslot2.WAV", "INok1.WAV"}, 101},
        {101, verander, {}, 0},
        {101, ja, {"INeinde1.WAV"}, 102},
        {200, verander, {"INveran2.WAV", "IN4800.WAV", "INok1.WAV"}, 200},
        {200, ja, {"INparit1.WAV", "1.WAV", "INok1.WAV"}, 201},
        {201, ja, {"INbits1.WAV", "8.WAV", "INok1.WAV"}, 202},
        {202, ja, {"INcompo.WAV", "INCOM-2.WAV", "INok1.WAV"}, 203},
        {203, ja, {"INeinde2.WAV"}, 204},
        {204, nee, {}, 0},
        {300, verander, {"INveran3.WAV", "INgardh1.WAV", "INok1.WAV"}, 300},
        {300, ja, {"INkruis1.WAV", "5.WAV", "INok1.WAV"}, 301},
        {301, ja, {"INRsav1.WAV", "INok1.WAV"}, 302},
        {302, ja, {"INeinde3.WAV"}, 303},
        {303, ja, {}, 0},
        {400, verander, {"INveran4.WAV", "INletop1.WAV", "INgelui1.WAV", "INok1.WAV"}, 400},
        {400, ja, {"INeinde4.WAV"}, 401},
        {401, verander, {}, 0},
        {500, verander, {"INveran5.WAV", "INkeyb1.WAV", "INok1.WAV"}, 500},
        {500, ja, {"INmenu3.WAV", "INok1.WAV"}, 501},
        {501, ja, {"INkleur1.WAV", "INok1.WAV"}, 502},
        {502, ja, {"INeinde5.WAV"}, 503},
        {503, ja, {}, 0},
        {250, ja, {}, 0},
    };
    for (const Row& r : rows) {
        const DialogStep* step = dialogStep(r.code, r.answer);
        SCOPED_TRACE(r.code);
        if (r.says.empty()) {
            EXPECT_EQ(step, nullptr);
            continue;
        }
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(stepPrompts(*step, s), r.says);
        EXPECT_EQ(step->next, r.next);
    }
    // "nee" moves a value and stays at its step; every open step takes it.
    for (const DialogStep& step : changeDialog())
        if (step.answer == DialogAnswer::Yes) {
            const DialogStep* no = dialogStep(step.code, nee);
            ASSERT_NE(no, nullptr) << step.code;
            EXPECT_NE(no->value, nullptr);
            EXPECT_EQ(no->next, step.code);
        }
}

}  // namespace
}  // namespace tarvok::settings
