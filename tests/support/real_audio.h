// Tests through the real audio path: Qt Multimedia to the PulseAudio null
// sink the test script starts. Under CI a reachable audio server is
// required; on a developer's machine without one the tests are skipped.
#pragma once

#include <QString>
#include <gtest/gtest.h>

#include "platform/sound_device.h"

namespace tarvok::test {

// A fixture `Base` that also needs the audio output.
template <class Base>
class OnRealAudio : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        if (audioOutputAvailable()) return;
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            FAIL() << "no audio output: the PulseAudio null sink of scripts/test.sh is not reachable";
        GTEST_SKIP() << "no audio output on this machine";
    }
};

using RealAudio = OnRealAudio<::testing::Test>;

}  // namespace tarvok::test
