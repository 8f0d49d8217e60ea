#include "demo_area.h"

#include <algorithm>
#include <cmath>

namespace tarvok::demo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371000.0;  // metres, mean
double rad(double deg) { return deg * kPi / 180.0; }

// Points of the drive, shared by the roads it follows.
const GeoPoint kDelftCentre{52.0120, 4.3570};
const GeoPoint kOudeDelftNorth{52.0150, 4.3560};
const GeoPoint kDelftNorth{52.0185, 4.3600};
const GeoPoint kKruithuisEast{52.0200, 4.3700};
const GeoPoint kA13Delft{52.0195, 4.3790};
const GeoPoint kA13North1{52.0300, 4.3620};
const GeoPoint kA13Rijswijk{52.0420, 4.3480};
const GeoPoint kA13Exit{52.0500, 4.3400};
const GeoPoint kBeatrix1{52.0560, 4.3330};
const GeoPoint kBeatrix2{52.0620, 4.3230};
const GeoPoint kBeatrix3{52.0680, 4.3130};
const GeoPoint kHaagCentre1{52.0740, 4.3040};
const GeoPoint kHaagCentre{52.0780, 4.2990};

Area buildArea() {
    Area a;
    using R = RoadClass;
    a.roads = {
        {"A13",
         R::Motorway,
         {{52.0700, 4.3300},
          {52.0600, 4.3330},
          kA13Exit,
          kA13Rijswijk,
          kA13North1,
          kA13Delft,
          {52.0000, 4.3900},
          {51.9750, 4.4150},
          {51.9550, 4.4400},
          {51.9400, 4.4650},
          {51.9300, 4.4800}}},
        {"A4",
         R::Motorway,
         {{52.1500, 4.4550},
          {52.1200, 4.4250},
          {52.0900, 4.3980},
          {52.0650, 4.3650},
          {52.0450, 4.3350},
          {52.0200, 4.3300},
          {51.9900, 4.3320},
          {51.9550, 4.3450},
          {51.9300, 4.3600},
          {51.9100, 4.3700}}},
        {"A12",
         R::Motorway,
         {{52.0830, 4.3150},
          {52.0780, 4.3600},
          {52.0720, 4.4100},
          {52.0620, 4.4700},
          {52.0560, 4.5300},
          {52.0500, 4.6500}}},
        {"A20",
         R::Motorway,
         {{51.9300, 4.1800},
          {51.9250, 4.2500},
          {51.9170, 4.3000},
          {51.9150, 4.3400},
          {51.9200, 4.4000},
          {51.9330, 4.4500},
          {51.9400, 4.4900},
          {51.9420, 4.5500},
          {51.9400, 4.6500}}},
        {"Kruithuisweg", R::MainRoad, {kDelftNorth, kKruithuisEast, kA13Delft, {52.0190, 4.4000}, {52.0190, 4.4290}}},
        {"Oude Delft", R::LocalRoad, {{52.0060, 4.3590}, kDelftCentre, kOudeDelftNorth, kDelftNorth}},
        {"Prinses Beatrixlaan", R::MainRoad, {kA13Exit, kBeatrix1, kBeatrix2, kBeatrix3, kHaagCentre1}},
        {"Centrum", R::LocalRoad, {kHaagCentre1, kHaagCentre, {52.0800, 4.2950}}},
        {"N211", R::MainRoad, {{52.0650, 4.2950}, {52.0400, 4.2800}, {52.0240, 4.2730}, {51.9940, 4.2090}}},
        {"N470", R::MainRoad, {{52.0060, 4.3590}, {52.0040, 4.4000}, {52.0190, 4.4290}, {52.0400, 4.4700}}},
        {"Delft - Schiedam", R::MainRoad, {{52.0060, 4.3590}, {51.9700, 4.3800}, {51.9400, 4.3950}, {51.9200, 4.4000}}},
        {"Rijswijkseweg", R::LocalRoad, {kOudeDelftNorth, {52.0300, 4.3400}, {52.0450, 4.3200}, {52.0650, 4.2950}}},
        {"Zoetermeer", R::MainRoad, {{52.0450, 4.3950}, {52.0570, 4.4500}, {52.0570, 4.4930}}},
        {"Westland", R::LocalRoad, {{52.0240, 4.2730}, {51.9950, 4.2500}, {51.9600, 4.2300}, {51.9230, 4.2500}}},
    };
    a.places = {
        {"Den Haag", {52.0780, 4.2990}, 3},
        {"Rotterdam", {51.9220, 4.4790}, 3},
        {"Delft", {52.0116, 4.3571}, 2},
        {"Zoetermeer", {52.0570, 4.4930}, 2},
        {"Rijswijk", {52.0360, 4.3250}, 2},
        {"Schiedam", {51.9190, 4.4000}, 2},
        {"Vlaardingen", {51.9120, 4.3420}, 2},
        {"Maassluis", {51.9230, 4.2500}, 1},
        {"Pijnacker", {52.0190, 4.4290}, 1},
        {"Nootdorp", {52.0450, 4.3950}, 1},
        {"Wateringen", {52.0240, 4.2730}, 1},
        {"Naaldwijk", {51.9940, 4.2090}, 1},
        {"Voorburg", {52.0740, 4.3600}, 1},
        {"Scheveningen", {52.1070, 4.2730}, 1},
        {"Berkel en Rodenrijs", {51.9930, 4.4760}, 1},
        {"Leidschendam", {52.0830, 4.3900}, 1},
    };
    a.water = {
        {"Noordzee",
         {{52.1600, 4.3450},
          {52.1300, 4.3020},
          {52.1070, 4.2650},
          {52.0700, 4.2130},
          {52.0300, 4.1650},
          {51.9850, 4.1150},
          {51.9600, 4.1000},
          {51.8400, 4.1000},
          {51.8400, 4.1400},
          {52.1600, 4.1400}},
         0},
        {"Nieuwe Maas",
         {{51.9800, 4.1200},
          {51.9550, 4.1800},
          {51.9250, 4.2400},
          {51.9080, 4.3000},
          {51.9040, 4.3600},
          {51.9050, 4.4100},
          {51.9080, 4.4600},
          {51.9140, 4.5000},
          {51.9100, 4.5600},
          {51.9000, 4.6600}},
         450},
        {"Schie", {{52.0100, 4.3620}, {51.9800, 4.3720}, {51.9500, 4.3850}, {51.9120, 4.4080}}, 40},
        {"Vliet", {{52.0100, 4.3620}, {52.0400, 4.3420}, {52.0700, 4.3550}, {52.0950, 4.3900}}, 30},
    };
    a.sheets = {
        {"REGIO.BMP", "Zuid-Holland: Den Haag - Delft - Rotterdam", 52.15, 51.85, 4.15, 4.65, 1000, 975},
        {"DELFT.BMP", "Delft en Rijswijk", 52.05, 51.97, 4.30, 4.42, 820, 890},
        {"DENHAAG.BMP", "Den Haag en Rijswijk", 52.11, 52.03, 4.24, 4.36, 820, 890},
    };
    return a;
}

Drive buildDrive() {
    return {kDelftNorth,
            {{kKruithuisEast, 50},
             {kA13Delft, 60},
             {kA13North1, 100},
             {kA13Rijswijk, 100},
             {kA13Exit, 100},
             {kBeatrix1, 70},
             {kBeatrix2, 50},
             {kBeatrix3, 50},
             {kHaagCentre1, 40}}};
}

}  // namespace

double MapSheet::metresPerPixel() const { return (top - bottom) * rad(1) * kEarthRadius / height; }

const Area& demoArea() {
    static const Area area = buildArea();
    return area;
}

const Drive& demoDrive() {
    static const Drive drive = buildDrive();
    return drive;
}

double distanceMetres(GeoPoint a, GeoPoint b) {
    double dLat = rad(b.lat - a.lat), dLon = rad(b.lon - a.lon);
    double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
               std::cos(rad(a.lat)) * std::cos(rad(b.lat)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

double bearingDegrees(GeoPoint a, GeoPoint b) {
    double dLon = rad(b.lon - a.lon);
    double y = std::sin(dLon) * std::cos(rad(b.lat));
    double x =
        std::cos(rad(a.lat)) * std::sin(rad(b.lat)) - std::sin(rad(a.lat)) * std::cos(rad(b.lat)) * std::cos(dLon);
    double deg = std::atan2(y, x) * 180.0 / kPi;
    return deg < 0 ? deg + 360 : deg;
}

GeoPoint between(GeoPoint a, GeoPoint b, double fraction) {
    return {a.lat + (b.lat - a.lat) * fraction, a.lon + (b.lon - a.lon) * fraction};
}

double distanceToPolyline(GeoPoint p, const std::vector<GeoPoint>& line) {
    // Local flat projection around p, in metres.
    const double my = rad(1) * kEarthRadius, mx = my * std::cos(rad(p.lat));
    double best = 1e300;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        double ax = (line[i].lon - p.lon) * mx, ay = (line[i].lat - p.lat) * my;
        double bx = (line[i + 1].lon - p.lon) * mx, by = (line[i + 1].lat - p.lat) * my;
        double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? std::clamp(-(ax * dx + ay * dy) / len2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(ax + t * dx, ay + t * dy));
    }
    return best;
}

}  // namespace tarvok::demo
