// A sound device whose completion notices the test gives: it records what
// the window asked of it.
#pragma once

#include <string>
#include <vector>

#include "platform/sound_device.h"

namespace tarvok::test {

class ScriptedSoundDevice : public SoundDevice {
public:
    std::vector<std::string> calls;  // "open <file name>", "play", "close"
    // When set, closing while a sound plays reports it aborted, through the
    // event queue as the real devices do.
    bool abortOnClose = false;
    // When set, every play reports that it played to its end, through the
    // event queue as the real devices do.
    bool completeOnPlay = false;

    bool open(const std::filesystem::path& f) override {
        setFile(f);
        calls.push_back("open " + f.filename().string());
        return true;
    }
    void play() override {
        calls.push_back("play");
        playing_ = true;
        if (completeOnPlay) notifyLater(Successful);
    }
    void close() override {
        calls.push_back("close");
        nextGeneration();  // a success still queued belongs to the closed sound
        if (playing_ && abortOnClose) notifyLater(Aborted);
        playing_ = false;
    }
    // The device's completion notice, delivered at once.
    void notify(int code) {
        playing_ = false;
        emit done(code);
    }

    std::vector<std::string> opened() const {
        std::vector<std::string> names;
        for (const std::string& c : calls)
            if (c.rfind("open ", 0) == 0) names.push_back(c.substr(5));
        return names;
    }

private:
    bool playing_ = false;
};

}  // namespace tarvok::test
