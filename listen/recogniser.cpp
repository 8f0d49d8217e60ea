#include "listen/recogniser.h"

#include "listen/command_grammar.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <pocketsphinx.h>
#include <sphinxbase/err.h>

namespace tarvok::listen {

namespace {

// Tuning, chosen with listen_bench's tuning set (other voices, speeds,
// sentences and noise than it measures with; see the README).
struct Tuning {
    const char* vadPostSpeech = "30";  // frames of 10 ms of quiet that close a stretch
    const char* vadThreshold = "2.0";
    // A bonus per word, not a penalty: the long phrases ("welke dag is het")
    // otherwise lose to a one-word command whose loose pronunciation covers
    // the same sounds.
    const char* wordInsertion = "4";
    // The most by which free phones may fit a stretch's sounds better than
    // the best command phrase, in the decoder's acoustic score units per
    // 10 ms frame, for the phrase still to count. Lower rejects more
    // non-commands and more commands alike (see the README's figures).
    double rejectionMargin = 11.5;
    // The same for phrases spelt only by hand (the phrases of several
    // words): their spellings fit less closely than the heard ones, so free
    // phones win by more even when the phrase was said. Being long, they
    // are seldom what noise or a short other word falls into.
    double handSpeltMargin = 15;
    // The least share of the frames free phones spend in speech that the
    // best phrase's words must cover. Below it, the command path took most
    // of what was said for silence: a sentence fitted with one short word
    // and long pauses, not a command. Right phrases cover 0.44 and more,
    // other sentences taken for a command 0.32 and less (tuning set).
    double leastCoverage = 0.38;
};

// Frames by which a command path may end before the free phones' path and
// still cover the stretch.
constexpr int pathEndSlack = 3;

// "-name value" pairs of a model's feat.params, the cepstral mean scheme left out.
std::vector<std::string> modelFeatureParameters(const std::filesystem::path& file) {
    std::vector<std::string> args;
    std::ifstream in(file);
    std::string name, value;
    while (in >> name >> value) {
        if (name.empty() || name[0] != '-' || name == "-cmn") continue;
        args.push_back(name);
        args.push_back(value);
    }
    return args;
}

}  // namespace

// Two decoders hear every sample: one with the command grammar, one with
// free phones, whose score says how well any speech would fit.
struct Recogniser::Decoder {
    ps_decoder_t* commands = nullptr;
    ps_decoder_t* phones = nullptr;
    ~Decoder() {
        if (commands) ps_free(commands);
        if (phones) ps_free(phones);
    }
};

std::filesystem::path Recogniser::defaultModel() { return "/usr/share/pocketsphinx/model/en-us/en-us"; }

namespace {

// A decoder over the model with one grammar and the words it needs.
ps_decoder_t* makeDecoder(const std::filesystem::path& model, std::span<const Pronunciation> words,
                          const std::string& grammar, std::vector<std::string> extra, std::string& error) {
    const Tuning tuning;
    const std::string modelText = model.string();
    // The model's own feature parameters, except that the cepstral mean is
    // followed as the sound arrives: the model asks for it per whole
    // utterance, which holds every frame back until a stretch has ended.
    // Dither keeps the digital silence of recordings from upsetting the
    // voice activity detection. Every senone is scored in every frame, so
    // the two decoders' acoustic scores are measured against the same best
    // and can be compared.
    std::vector<std::string> args = modelFeatureParameters(model / "feat.params");
    args.insert(args.end(),
                {"-hmm", modelText, "-featparams", "/dev/null", "-cmn", "live", "-samprate", "16000", "-dither", "yes",
                 "-vad_postspeech", tuning.vadPostSpeech, "-vad_threshold", tuning.vadThreshold, "-compallsen", "yes"});
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv{const_cast<char*>("tarvok-listen")};
    for (auto& a : args) argv.push_back(a.data());
    cmd_ln_t* config = cmd_ln_parse_r(nullptr, ps_args(), int(argv.size()), argv.data(), FALSE);
    if (!config) {
        error = "The speech model in " + modelText + " could not be set up";
        return nullptr;
    }
    ps_decoder_t* ps = ps_init(config);
    cmd_ln_free_r(config);
    if (!ps) {
        error = "The speech model in " + modelText + " could not be read";
        return nullptr;
    }
    // A word's further pronunciations go into the dictionary as "word(2)",
    // "word(3)", ...
    std::map<std::string_view, int> seen;
    bool added = true;
    for (const auto& w : words) {
        const int n = ++seen[w.word];
        std::string word(w.word);
        if (n > 1) word += "(" + std::to_string(n) + ")";
        const std::string phones(w.phones);
        added = added && ps_add_word(ps, word.c_str(), phones.c_str(), FALSE) >= 0;
    }
    if (!added || ps_set_jsgf_string(ps, "grammar", grammar.c_str()) < 0 || ps_set_search(ps, "grammar") < 0 ||
        ps_start_utt(ps) < 0) {
        error = "The command grammar does not fit the speech model in " + modelText;
        ps_free(ps);
        return nullptr;
    }
    return ps;
}

// The acoustic part of the best path's score (how well the sounds fit,
// without the grammar's and the insertion penalties' share) and the frames
// it spans. Both decoders number frames alike, as they hear the same
// samples from their start.
struct PathFit {
    long acoustic = 0;
    int speech = 0;  // frames in words, not in silence or noise fillers
    int start = std::numeric_limits<int>::max();
    int end = 0;  // the frame after the last
};

PathFit bestPathFit(ps_decoder_t* ps) {
    PathFit fit;
    for (ps_seg_t* seg = ps_seg_iter(ps); seg; seg = ps_seg_next(seg)) {
        int32 acoustic = 0, language = 0, backoff = 0;
        ps_seg_prob(seg, &acoustic, &language, &backoff);
        int first = 0, last = 0;
        ps_seg_frames(seg, &first, &last);
        fit.acoustic += acoustic;
        // Fillers ("<sil>", "[NOISE]", the utterance's "<s>" and "</s>")
        // are bracketed; every word of the grammars is not.
        const char* word = ps_seg_word(seg);
        if (word[0] != '<' && word[0] != '[') fit.speech += last - first + 1;
        fit.start = std::min(fit.start, first);
        fit.end = std::max(fit.end, last + 1);
    }
    return fit;
}

}  // namespace

std::unique_ptr<Recogniser> Recogniser::open(const std::filesystem::path& model, std::string& error) {
    std::error_code ec;
    for (const char* part : {"mdef", "means", "variances", "transition_matrices", "feat.params"}) {
        if (!std::filesystem::is_regular_file(model / part, ec)) {
            error = "No speech model found in " + model.string() + " (install the package pocketsphinx-en-us)";
            return nullptr;
        }
    }
    err_set_logfp(nullptr);
    const Tuning tuning;
    auto decoder = std::make_unique<Decoder>();
    decoder->commands =
        makeDecoder(model, commandPronunciations(), commandGrammar(), {"-wip", tuning.wordInsertion}, error);
    if (!decoder->commands) return nullptr;
    decoder->phones = makeDecoder(model, fillerPronunciations(), freePhoneGrammar(), {"-wip", "1", "-lw", "1"}, error);
    if (!decoder->phones) return nullptr;
    return std::unique_ptr<Recogniser>(new Recogniser(std::move(decoder)));
}

Recogniser::Recogniser(std::unique_ptr<Decoder> decoder) : decoder_(std::move(decoder)) {}
Recogniser::~Recogniser() = default;

Hearing Recogniser::closeStretch() {
    ps_end_utt(decoder_->commands);
    ps_end_utt(decoder_->phones);
    Hearing hearing;
    hearing.endSample = fed_;
    int32 score = 0;
    const char* hyp = ps_get_hyp(decoder_->commands, &score);
    if (hyp && ps_get_hyp(decoder_->phones, &score)) {
        hearing.hypothesis = hyp;
        // How much worse the best command fits the stretch's sounds than
        // free phones do, per frame; speech that is no command fits the
        // phones far better than any phrase. A command path that stops short
        // of the stretch's end is no complete phrase (the grammar's end was
        // never reached) and counts as none.
        const PathFit command = bestPathFit(decoder_->commands), free = bestPathFit(decoder_->phones);
        const int frames = std::max(1, free.end - free.start);
        hearing.margin = double(free.acoustic - command.acoustic) / frames;
        const bool whole = command.end + pathEndSlack >= free.end;
        hearing.coverage = double(command.speech) / std::max(1, free.speech);
        const Tuning tuning;
        const double allowed = spelledByHandOnly(hearing.hypothesis) ? tuning.handSpeltMargin : tuning.rejectionMargin;
        if (whole && hearing.margin <= allowed && hearing.coverage >= tuning.leastCoverage)
            hearing.phrase = phraseOfHypothesis(hearing.hypothesis);
        if (!whole) hearing.margin = std::numeric_limits<double>::infinity();
    }
    ps_start_utt(decoder_->commands);
    ps_start_utt(decoder_->phones);
    inSpeech_ = false;
    return hearing;
}

std::vector<Hearing> Recogniser::feed(std::span<const std::int16_t> samples) {
    std::vector<Hearing> heard;
    // Fed in pieces of 10 ms so a stretch's end is noticed where it falls,
    // not only at the end of a long block. Both decoders hear the same
    // samples and so find the same stretches; the command decoder's
    // detection decides.
    constexpr std::size_t piece = sampleRate / 100;
    for (std::size_t at = 0; at < samples.size(); at += piece) {
        const std::size_t n = std::min(piece, samples.size() - at);
        ps_process_raw(decoder_->commands, samples.data() + at, n, FALSE, FALSE);
        ps_process_raw(decoder_->phones, samples.data() + at, n, FALSE, FALSE);
        fed_ += static_cast<std::int64_t>(n);
        const bool speech = ps_get_in_speech(decoder_->commands);
        if (speech) inSpeech_ = true;
        else if (inSpeech_) heard.push_back(closeStretch());
    }
    return heard;
}

std::vector<Hearing> Recogniser::finish() {
    std::vector<Hearing> heard;
    if (inSpeech_) heard.push_back(closeStretch());
    return heard;
}

void Recogniser::reset() {
    for (ps_decoder_t* ps : {decoder_->commands, decoder_->phones}) {
        ps_end_utt(ps);
        ps_start_utt(ps);
    }
    inSpeech_ = false;
}

std::vector<Hearing> recogniseRecording(Recogniser& recogniser, std::span<const std::int16_t> samples) {
    auto heard = recogniser.feed(samples);
    for (auto& h : recogniser.finish()) heard.push_back(std::move(h));
    return heard;
}

}  // namespace tarvok::listen
