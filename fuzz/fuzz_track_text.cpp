// Text track files (*.trk and *.txt) read line by line through the import,
// as the track window drives it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/fuzz_input.h"
#include "navigator/route/track/track_import.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    const std::uint8_t options = in.byte();
    const int thinning = in.byte() % 5;
    std::string_view name = in.until('\n');
    (void)trackFormatForName(name);
    TrackFormat format = options & 1 ? TrackFormat::Text : TrackFormat::TrackFile;

    auto stream = std::make_unique<std::istringstream>(std::string(in.rest()));
    TrackImport import(std::make_unique<TextTrackSource>(*stream, format));
    for (;;) {
        TrackStep step = import.step(thinning);
        if (step.kind == TrackStep::Kind::End || step.kind == TrackStep::Kind::Error) break;
    }

    // The line reader on its own: no line is ever longer than what is kept.
    std::istringstream again{std::string(in.rest())};
    TrackLineReader lines(again);
    while (lines.next()) {
        if (lines.line().size() > TrackLineReader::kLineKept) __builtin_trap();
        (void)lineColumns(lines.line(), options, 12);
        (void)trackPointFromLine(lines.line(), format);
    }
    return 0;
}
