// The map verbs of tarvok-drive: load a map through the file dialog, read
// the view state.
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <filesystem>
#include <ostream>

#include "common/text.h"
#include "navigator/map/map_window.h"
#include "navigator/shell/main_window.h"
#include "tools/drive/drive_navigator.h"

namespace tarvok::drive {

namespace {

map::MapWindow& mapWindow(Driver& d) {
    auto* m = navigatorWindow(d).findChild<map::MapWindow*>(QStringLiteral("MapWindow"));
    if (!m) throw std::runtime_error("the window has no map view");
    return *m;
}

VerbRegistration loadMap("load-map", "load-map PATH|cancel     answers the file dialog and clicks LOAD",
                         [](Driver& d, const auto& a) {
                             if (a.empty()) throw std::runtime_error("usage: load-map PATH|cancel");
                             if (a[0] == "cancel") d.dialogs.fileAnswers.push_back(std::nullopt);
                             else d.dialogs.fileAnswers.push_back(std::filesystem::absolute(a[0]).string());
                             auto* b = navigatorWindow(d).findChild<QPushButton*>(QStringLiteral("Command2"));
                             if (!b) throw std::runtime_error("no control named 'Command2'");
                             // Queued, so that the spoken map name's wait does not hold up the script.
                             QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
                             return StepResult::done();
                         });

VerbRegistration mapState(
    "map-state", "map-state                prints the map and view state as JSON", [](Driver& d, const auto&) {
        map::MapWindow& m = mapWindow(d);
        const map::MapCalibration& c = m.calibration();
        const map::MapViewState& v = m.view();
        auto bar = [](const map::ScrollBarState& s) {
            return QJsonObject{{"value", s.value}, {"maximum", s.maximum}, {"visible", s.visible}};
        };
        const map::ClipRect& clip = v.clip();
        QJsonObject o{
            {"mapPath", QString::fromStdString(cp1252ToUtf8(c.mapPath))},
            {"mapName", QString::fromStdString(cp1252ToUtf8(c.mapName))},
            {"mapLoaded", navigatorWindow(d).state().mapLoaded},
            {"bitmapWidth", c.width},
            {"bitmapHeight", c.height},
            {"top", c.edges.top},
            {"bottom", c.edges.bottom},
            {"left", c.edges.left},
            {"right", c.edges.right},
            {"zoom", v.zoom},
            {"viewWidth", double(v.viewWidth())},
            {"viewHeight", double(v.viewHeight())},
            {"hScroll", bar(v.hScroll())},
            {"vScroll", bar(v.vScroll())},
            {"clip", QJsonObject{{"x", clip.x}, {"y", clip.y}, {"width", clip.width}, {"height", clip.height}}},
            {"position", QJsonObject{{"x", v.position.x}, {"y", v.position.y}}},
            {"pyramidLevels", m.bitmap().levelCount()},
        };
        d.out << QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString() << "\n";
        return StepResult::done();
    });

}  // namespace

}  // namespace tarvok::drive
