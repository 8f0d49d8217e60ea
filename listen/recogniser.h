// The recogniser: 16 kHz mono speech in, command phrases out.
//
// Samples are fed as they arrive. pocketsphinx's voice activity detection
// finds the spoken stretches; each is decoded twice at once, against the
// command grammar and as free phones. When it ends, the best phrase counts
// only if its sounds fit nearly as well as the free phones do and its words
// cover most of what the free phones found spoken: speech that is no
// command, and noise, fit free phones far better than any phrase, or fit a
// phrase only by taking most of the speech for silence, and are rejected
// instead of being taken for the nearest phrase. Plain C++; no Qt.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tarvok::listen {

// One spoken stretch that has ended.
struct Hearing {
    std::string phrase;          // the command phrase; empty when it was none
    std::string hypothesis;      // the phrase the command grammar fitted best
    double margin = 0;           // how much better free phones fit, per frame
    double coverage = 0;         // the share of the free phones' speech frames the phrase's words cover
    std::int64_t endSample = 0;  // the sample at which the stretch was closed
};

class Recogniser {
public:
    static constexpr int sampleRate = 16000;

    // The en-us acoustic model as Debian installs it.
    static std::filesystem::path defaultModel();

    // Loads the acoustic model from `model` (a folder with mdef, means,
    // ...) and the command grammar. Null, with `error` set to a message for
    // the user, when the model is missing or cannot be read.
    static std::unique_ptr<Recogniser> open(const std::filesystem::path& model, std::string& error);
    ~Recogniser();
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // Feeds samples that follow the ones fed before; returns the stretches
    // that ended within them.
    std::vector<Hearing> feed(std::span<const std::int16_t> samples);
    // The input has ended: a stretch still open is closed and judged.
    std::vector<Hearing> finish();
    // Forgets a stretch in progress and starts afresh (the microphone was
    // switched off); the sample count goes on.
    void reset();

    // Whether a spoken stretch is open now.
    bool inSpeech() const { return inSpeech_; }
    std::int64_t samplesFed() const { return fed_; }

private:
    struct Decoder;
    explicit Recogniser(std::unique_ptr<Decoder> decoder);
    Hearing closeStretch();

    std::unique_ptr<Decoder> decoder_;
    bool inSpeech_ = false;
    std::int64_t fed_ = 0;
};

// The command phrases heard in a whole recording (16 kHz mono), one per
// spoken stretch that was a command, in order.
std::vector<Hearing> recogniseRecording(Recogniser& recogniser, std::span<const std::int16_t> samples);

}  // namespace tarvok::listen
