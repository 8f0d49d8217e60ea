#include "navigator/gps/announcement.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tarvok::gps {
namespace {

using Names = std::vector<std::string>;

SpeechOptions everythingOn() {
    SpeechOptions o;
    o.speakSpeed = o.speakCourse = o.speakPosition = o.speakWarnings = true;
    o.speakUnit = o.speakDegreesWord = o.speakPositionWord = o.speakCompass = true;
    return o;
}

SpokenTexts delft(std::string speed = "041", std::string koers = "084", std::string windr = " O") {
    return {"52,06866", "4,883300", "N", "E", std::move(speed), std::move(koers), std::move(windr)};
}

TEST(AnnouncementFragments, EverythingOn) {
    EXPECT_EQ(announcementFragments(delft(), everythingOn()),
              (Names{"41", "kmh",    "Koers", "84", "Graden", "O", "Positie", "52", "Komma", "0", "6",      "8", "6",
                     "6",  "Graden", "N",     "4",  "Komma",  "8", "8",       "3",  "3",     "0", "Graden", "O"}));
}

TEST(AnnouncementFragments, SpeedCases) {
    SpeechOptions o;
    o.speakSpeed = o.speakUnit = o.speakWarnings = o.speakCourse = o.speakCompass = true;
    // Standing still: no course, no compass.
    EXPECT_EQ(announcementFragments(delft("000"), o), Names{"Stilstan"});
    EXPECT_EQ(announcementFragments(delft("163", "000", "  "), o), (Names{"Tehard", "Koers", "00"}));
    EXPECT_EQ(announcementFragments(delft("100", "000", "  "), o), (Names{"100", "00", "kmh", "Koers", "00"}));
    EXPECT_EQ(announcementFragments(delft("150", "000", "  "), o), (Names{"100", "50", "kmh", "Koers", "00"}));
    o.speakWarnings = false;
    EXPECT_EQ(announcementFragments(delft("163", "000", "  "), o), (Names{"100", "63", "kmh", "Koers", "00"}));
    o.speakUnit = false;
    o.unitWord = "mph";
    EXPECT_EQ(announcementFragments(delft("005", "000", "  "), o), (Names{"05", "Koers", "00"}));
    // The warning is spoken even with the speed itself off.
    SpeechOptions warnOnly;
    warnOnly.speakWarnings = true;
    EXPECT_EQ(announcementFragments(delft("163"), warnOnly), Names{"Tehard"});
    EXPECT_EQ(announcementFragments(delft("149"), warnOnly), Names{});
}

TEST(AnnouncementFragments, CourseAndCompass) {
    SpeechOptions o;
    o.speakCourse = o.speakCompass = true;
    EXPECT_EQ(announcementFragments(delft("041", "007", " N"), o), (Names{"Koers", "07", "N"}));
    EXPECT_EQ(announcementFragments(delft("041", "315", "NW"), o), (Names{"Koers", "300", "15", "N", "W"}));
    EXPECT_EQ(announcementFragments(delft("041", "180", " Z"), o), (Names{"Koers", "100", "80", "Z"}));
}

TEST(AnnouncementFragments, PositionHemispheresAndLargeDegrees) {
    SpeechOptions o;
    o.speakPosition = true;
    SpokenTexts t{"33,86000", "151,2000", "S", "W", "041", "000", " N"};
    EXPECT_EQ(announcementFragments(t, o),
              (Names{"33", "Komma", "8", "6", "0", "0", "0", "Z", "100", "51", "Komma", "2", "0", "0", "0", "W"}));
    // A garbled readout far beyond any degree is spoken as the largest number.
    t = {std::string("1") + std::string(300, '0'), "4,250000", "N", "O", "041", "000", " N"};
    Names huge = announcementFragments(t, o);
    ASSERT_GE(huge.size(), 2u);
    EXPECT_EQ((Names{huge[0], huge[1]}), (Names{"900", "99"}));
    t = {"5,500000", "4,250000", "X", "O", "041", "000", " N"};
    EXPECT_EQ(announcementFragments(t, o),
              (Names{"5", "Komma", "5", "0", "0", "0", "0", "4", "Komma", "2", "5", "0", "0", "0", "O"}));
}

TEST(SpokenDecimals, CommaInTheFirstFiveCharactersOrNot) {
    EXPECT_EQ(spokenDecimals("52,06866"), (Names{"0", "6", "8", "6", "6"}));
    EXPECT_EQ(spokenDecimals("122,3263628"), (Names{"3", "2", "6", "3", "6"}));
    EXPECT_EQ(spokenDecimals("52,5"), (Names{"5"}));
    EXPECT_EQ(spokenDecimals("1234567890123"), (Names{"6", "7", "8", "9", "0"}));
    EXPECT_EQ(spokenDecimals("0"), Names{});
}

TEST(SpeakDecision, CompletionCounterAndReceptionError) {
    AnnouncementState s;
    s.completionCode = 1;
    EXPECT_EQ(speakDecision(false, s, delft()), SpeakDecision::Silent);
    EXPECT_EQ(speakDecision(true, s, delft()), SpeakDecision::Announce);
    announcementStarted(s);
    // No completion notice ever arrives: every 20th sentence speaks.
    for (int round = 0; round < 2; ++round) {
        for (int i = 1; i < 20; ++i) ASSERT_EQ(speakDecision(true, s, delft()), SpeakDecision::Wait) << i;
        EXPECT_EQ(speakDecision(true, s, delft()), SpeakDecision::Announce);
        announcementStarted(s);
    }
    s.completionCode = 1;
    SpokenTexts noFix = delft();
    noFix.latid = "00,00000";
    EXPECT_EQ(speakDecision(true, s, noFix), SpeakDecision::ReceptionError);
    noFix = delft();
    noFix.ewText.clear();
    EXPECT_EQ(speakDecision(true, s, noFix), SpeakDecision::ReceptionError);
}

TEST(Fragments, TrimmingAndPreloads) {
    std::string file(1000, '\0');
    for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<char>(i % 251);
    const std::string f = fragmentFromFile(file, file.size());
    ASSERT_EQ(f.size(), 850u);
    EXPECT_EQ(f, file.substr(79, 850));
    EXPECT_EQ(fragmentFromFile(file.substr(0, 150), 150), "");
    EXPECT_EQ(fragmentFromFile("", 0), "");
    EXPECT_EQ(fragmentFromFile(file.substr(0, 151), 151), file.substr(79, 1));
    // A long file: only the first 20000 bytes are read.
    const std::string big(30000, 'x');
    EXPECT_EQ(fragmentFromFile(big, big.size()).size(), 19921u);
    EXPECT_EQ(preloadedFragmentNames('2'), (Names{"mph", "Koers", "Graden", "Positie", "Komma"}));
    EXPECT_EQ(preloadedFragmentNames('1')[0], "kmh");
    EXPECT_EQ(preloadedFragmentNames('3')[0], "kts");
}

TEST(AnnouncementWav, ByteExactHeader) {
    const std::string wav = announcementWav("abc");
    const unsigned char expected[44] = {'R', 'I', 'F', 'F', 39, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                                        ' ', 16,  0,   0,   0,  1, 0,   1,   0,   0x11, 0x2B, 0,   0,   0x11, 0x2B,
                                        0,   0,   1,   0,   8,  0, 'd', 'a', 't', 'a',  3,    0,   0,   0};
    ASSERT_EQ(wav.size(), 47u);
    EXPECT_EQ(std::memcmp(wav.data(), expected, 44), 0);
    EXPECT_EQ(wav.substr(44), "abc");
    EXPECT_EQ(announcementWav("").size(), 44u);
}

}  // namespace
}  // namespace tarvok::gps
