// The end of a program that has used sound: its exit code returned to the
// caller once its own objects are gone, without the library teardown that
// follows main.
//
// Qt Multimedia's PulseAudio connection lives in a static of the library
// and is torn down after main, while its own thread may still be answering
// the sound server (a device added or removed, a default changed). That
// teardown aborts inside libpulse now and then, so a program that had
// finished its work, saved its files and closed its windows would be
// reported as crashed. Everything a program keeps is written by its own
// objects, so nothing is lost by leaving the library statics alone; what
// sits in the standard streams' buffers is written first.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace tarvok {

[[noreturn]] inline void endProgram(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace tarvok
