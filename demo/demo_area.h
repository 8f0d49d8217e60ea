// The demonstration area: a stretch of South Holland between The Hague,
// Delft and Rotterdam, as drawn by our own map generator. Places lie where
// the towns are; the roads, water and coast are a simplified drawing of our
// own making. The same data gives the three map sheets, their corner files
// and the recorded drive along the roads.
#pragma once

#include <string>
#include <vector>

namespace tarvok::demo {

// Latitude north positive, longitude east positive, decimal degrees.
struct GeoPoint {
    double lat = 0;
    double lon = 0;
};

enum class RoadClass { Motorway, MainRoad, LocalRoad };

struct Road {
    std::string name;  // "A13", "Kruithuisweg"
    RoadClass kind = RoadClass::LocalRoad;
    std::vector<GeoPoint> points;
};

struct Place {
    std::string name;
    GeoPoint at;
    int size = 1;  // 1 village, 2 town, 3 city
};

// A river or canal drawn as a wide line, or the sea as a filled area.
struct Water {
    std::string name;
    std::vector<GeoPoint> points;
    double widthMetres = 0;  // 0: a closed area
};

// One map sheet: a bitmap whose pixel rows and columns run linearly in
// latitude and longitude between its edges (as the navigator converts).
struct MapSheet {
    std::string fileName;  // "REGIO.BMP"; its corner file "REGIO.des"
    std::string title;     // line 1 of the corner file
    double top = 0, bottom = 0, left = 0, right = 0;
    int width = 0, height = 0;
    double metresPerPixel() const;
};

struct Area {
    std::vector<Road> roads;
    std::vector<Place> places;
    std::vector<Water> water;
    std::vector<MapSheet> sheets;  // the region map first, then the detail maps
};

const Area& demoArea();

// The driven route: waypoints on the roads with the speed to drive towards
// each (km/h); the drive starts standing at the first.
struct DriveLeg {
    GeoPoint to;
    double kmh = 0;
};
struct Drive {
    GeoPoint start;
    std::vector<DriveLeg> legs;
};
const Drive& demoDrive();

// Distance in metres and initial bearing in degrees (0 north, clockwise)
// between two points, on a sphere of the earth's mean radius.
double distanceMetres(GeoPoint a, GeoPoint b);
double bearingDegrees(GeoPoint a, GeoPoint b);
// The point `fraction` of the way from a to b (linear in latitude and
// longitude, which is exact enough over a few hundred metres).
GeoPoint between(GeoPoint a, GeoPoint b, double fraction);

// Shortest distance in metres from a point to a polyline.
double distanceToPolyline(GeoPoint p, const std::vector<GeoPoint>& line);

}  // namespace tarvok::demo
