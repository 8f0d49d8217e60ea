// A corner-coordinate file (.des/.dbm) read and the map calibrated from it,
// for a bitmap size given by the first four bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "navigator/map/map_calibration.h"

using namespace tarvok::map;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    std::int32_t width = in.word();
    std::int32_t height = in.word();
    std::string_view text = in.rest();

    CornerCoordinates file = parseCornerCoordinates(text);
    std::string name = mapNameOf(file);
    MapEdges edges;
    CalibrationResult r = calibrateEdges(file, width, height, edges);
    (void)r;
    (void)mapStatusText(name, width, height);
    (void)mapLabelText(name);
    for (const ReferencePointFields* p : {&file.a, &file.b}) {
        (void)cornerLatitudeText(p->latitude);
        (void)cornerLongitudeText(p->longitude);
        (void)latitudeValue(p->latitude);
        (void)longitudeValue(p->longitude);
        (void)hemisphereLetter(p->latitude);
    }
    (void)besideBitmap(name, ".des");
    return 0;
}
