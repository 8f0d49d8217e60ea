#include "navigator/route/track/track_gpx.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <cmath>
#include <vector>

#include "common/text.h"

namespace tarvok {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// The value of `count` digits at `pos`, or nothing when they are not all
// digits.
std::optional<int> digitsAt(std::string_view s, std::size_t pos, std::size_t count) {
    if (pos + count > s.size()) return std::nullopt;
    std::string_view d = s.substr(pos, count);
    for (char c : d)
        if (c < '0' || c > '9') return std::nullopt;
    return static_cast<int>(numericValue(d));
}

// Days since 1970-01-01 of a date of the Gregorian calendar, and back.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t* y, int* m, int* d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = yoe + era * 400 + (*m <= 2);
}

std::string two(std::int64_t v) { return padLeft(integerText(v), 2); }

// Tijds and Datum of an ISO 8601 date and time; false when it is not one.
bool timeTexts(std::string_view t, int hourOffset, TrackPointTexts* p) {
    t = trimBlanks(t);
    auto year = digitsAt(t, 0, 4), month = digitsAt(t, 5, 2), day = digitsAt(t, 8, 2);
    auto hour = digitsAt(t, 11, 2), minute = digitsAt(t, 14, 2), second = digitsAt(t, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return false;
    if (t[4] != '-' || t[7] != '-' || (t[10] != 'T' && t[10] != 't' && t[10] != ' ') || t[13] != ':' || t[16] != ':')
        return false;
    if (*month < 1 || *month > 12 || *day < 1 || *day > 31 || *hour > 24 || *minute > 59 || *second > 60) return false;
    std::size_t i = 19;
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    }
    std::int64_t shiftMinutes = 0;  // local time stays as written
    if (i < t.size()) {
        if ((t[i] == 'Z' || t[i] == 'z') && i + 1 == t.size()) {
            shiftMinutes = std::int64_t{hourOffset} * 60;
        } else if ((t[i] == '+' || t[i] == '-') && i + 6 == t.size() && t[i + 3] == ':') {
            auto zh = digitsAt(t, i + 1, 2), zm = digitsAt(t, i + 4, 2);
            if (!zh || !zm) return false;
            const int zone = (*zh * 60 + *zm) * (t[i] == '-' ? -1 : 1);
            shiftMinutes = std::int64_t{hourOffset} * 60 - zone;
        } else {
            return false;
        }
    }
    std::int64_t seconds = (daysFromCivil(*year, *month, *day) * 86400) + *hour * 3600 + *minute * 60 +
                           std::min(*second, 59) + shiftMinutes * 60;
    std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    std::int64_t ofDay = seconds - days * 86400;
    std::int64_t y;
    int m, d;
    civilFromDays(days, &y, &m, &d);
    p->tijds = two(ofDay / 3600) + ":" + two(ofDay / 60 % 60) + ":" + two(ofDay % 60);
    p->datum = two(d) + "-" + two(m) + "-" + padLeft(integerText(y), 4);
    return true;
}

// A coordinate as the display holds it: hemisphere letter from the sign,
// the value without it. `zero` when the attribute is not a number.
void coordinateTexts(std::string_view value, char plus, char minus, const char* zero, std::string* text,
                     std::string* hemisphere) {
    if (!isNumeric(value)) {
        *text = zero;
        *hemisphere = std::string(1, plus);
        return;
    }
    const double v = numericValue(value);
    *text = decimalCommaText(std::fabs(v));
    *hemisphere = std::string(1, v < 0 ? minus : plus);
}

}  // namespace

TrackPointTexts gpxPointTexts(std::string_view lat, std::string_view lon, std::string_view time, int hourOffset) {
    TrackPointTexts p;
    coordinateTexts(lat, 'N', 'S', "00,00000000", &p.latid, &p.nsText);
    coordinateTexts(lon, 'E', 'W', "000,00000000", &p.longi, &p.ewText);
    if (!timeTexts(time, hourOffset, &p)) {
        p.tijds.clear();
        p.datum.clear();
    }
    return p;
}

struct GpxTrackSource::Reader {
    std::istream& in;
    int hourOffset;
    QXmlStreamReader xml;
    std::vector<char> chunk = std::vector<char>(kChunk);
    bool inputEnded = false;
    bool sawRoot = false;
    std::string failure;

    // The point being read.
    int pointDepth = -1;  // element depth of the open trkpt, -1 outside one
    int depth = 0;
    bool inTime = false;
    std::string lat, lon, time;
    std::optional<TrackPointTexts> current;

    Reader(std::istream& s, int offset) : in(s), hourOffset(offset) {}

    bool feed() {
        if (inputEnded) return false;
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = in.gcount();
        if (in.bad()) {
            failure = "the file could not be read to its end";
            return false;
        }
        if (got <= 0) {
            inputEnded = true;
            return false;
        }
        xml.addData(QByteArray(chunk.data(), static_cast<qsizetype>(got)));
        return true;
    }

    void fail(const std::string& why) { failure = why + " (line " + integerText(xml.lineNumber()) + ")"; }

    // Reads on to the end of the next trkpt; false at the end or on failure.
    bool nextPoint() {
        current.reset();
        if (!failure.empty()) return false;
        for (;;) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::Invalid) {
                if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
                    if (feed()) continue;
                    if (!failure.empty()) return false;
                    if (!sawRoot) {
                        failure = "the file holds no GPX document";
                        return false;
                    }
                    fail("the file ends before its GPX document does");
                    return false;
                }
                fail(xml.errorString().toStdString());
                return false;
            }
            switch (token) {
            case QXmlStreamReader::StartElement: {
                ++depth;
                const auto name = xml.name();
                if (depth == 1) {
                    sawRoot = true;
                    if (name != QLatin1String("gpx")) {
                        fail("this is not a GPX file: its root element is <" + name.toString().toStdString() + ">");
                        return false;
                    }
                } else if (pointDepth < 0 && name == QLatin1String("trkpt")) {
                    pointDepth = depth;
                    lat = xml.attributes().value(QLatin1String("lat")).toString().toStdString();
                    lon = xml.attributes().value(QLatin1String("lon")).toString().toStdString();
                    time.clear();
                } else if (pointDepth >= 0 && depth == pointDepth + 1 && name == QLatin1String("time")) {
                    inTime = true;
                }
                break;
            }
            case QXmlStreamReader::Characters:
                if (inTime && time.size() < 64) time += xml.text().toString().toStdString();
                break;
            case QXmlStreamReader::EndElement:
                if (inTime && depth == pointDepth + 1) inTime = false;
                if (depth == pointDepth) {
                    pointDepth = -1;
                    --depth;
                    current = gpxPointTexts(lat, lon, time, hourOffset);
                    return true;
                }
                --depth;
                break;
            case QXmlStreamReader::EndDocument: return false;
            default: break;
            }
        }
    }
};

GpxTrackSource::GpxTrackSource(std::istream& in, int hourOffset) : reader_(std::make_unique<Reader>(in, hourOffset)) {}

GpxTrackSource::~GpxTrackSource() = default;

bool GpxTrackSource::advance() { return reader_->nextPoint(); }

std::optional<TrackPointTexts> GpxTrackSource::point() { return reader_->current; }

std::string GpxTrackSource::error() const { return reader_->failure; }

namespace {

class GpxTrackFile : public TrackSource {
public:
    GpxTrackFile(RegularFile file, int hourOffset) : file_(std::move(file)), source_(file_, hourOffset) {}
    bool advance() override { return source_.advance(); }
    std::optional<TrackPointTexts> point() override { return source_.point(); }
    std::string error() const override { return source_.error(); }

private:
    FileInputStream file_;
    GpxTrackSource source_;
};

}  // namespace

std::unique_ptr<TrackSource> openTrackFile(const std::string& nativePath, std::string_view fileName, int hourOffset,
                                           int* error) {
    const TrackFormat format = trackFormatForName(fileName);
    if (format != TrackFormat::Gpx) return TextTrackFile::open(nativePath, format, error);
    RegularFile file = RegularFile::openForReading(nativePath);
    if (error) *error = file.error();
    if (!file) return nullptr;
    return std::make_unique<GpxTrackFile>(std::move(file), hourOffset);
}

}  // namespace tarvok
