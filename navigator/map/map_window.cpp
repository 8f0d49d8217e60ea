#include "navigator/map/map_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

#include "common/text.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/shell/navigator_state.h"
#include "navigator/shell/shell_texts.h"
#include "navigator/shell/shell_widgets.h"
#include "navigator/shell/sound_playback.h"
#include "platform/dialogs.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"

namespace tarvok::map {

namespace {

// The boxes that show the position during navigation and take it for go-to.
using C = MainWindowControls;
QLineEdit* C::*const kCoordinateBoxes[] = {&C::pixelX, &C::pixelY, &C::latitude, &C::longitude};

// Waits for the spoken map name: 2,500,000 polling passes.
constexpr long kMapNamePasses = 2500000;

QString fromCp1252(const std::string& s) { return QString::fromStdString(cp1252ToUtf8(s)); }

}  // namespace

MapWindow::MapWindow(Links links, QObject* parent)
    : QObject(parent),
      links_(links),
      widget_(new MapViewWidget(bitmap_, links.controls.mapPicture)),
      view_(widget_),
      zoom_(view_, *this) {
    setObjectName(QStringLiteral("MapWindow"));
    widget_->hide();  // the radar screen shows until the first map
    widget_->setTrail(&trail_, &map_);
    widget_->installEventFilter(this);
    links.controls.mapPicture->installEventFilter(this);
    fitToPicture();
    connect(widget_, &MapViewWidget::viewControlsChanged, this, &MapWindow::syncControls);
    const MainWindowControls& c = links.controls;
    connect(c.loadMap, &QPushButton::clicked, this, &MapWindow::Command2_Click);
    connect(c.mapHScroll, &QScrollBar::valueChanged, this, [this](int v) {
        if (!syncing_) view_.HScroll3_Change(v);
    });
    connect(c.mapVScroll, &QScrollBar::valueChanged, this, [this](int v) {
        if (!syncing_) view_.VScroll3_Change(v);
    });
    view_.crossSize = c.crossSize->value();
    connect(c.crossSize, &QSlider::valueChanged, this, [this](int v) { view_.crossSize = v; });
    connect(c.goToPixel, &QPushButton::clicked, this, &MapWindow::Command3_Click);
    connect(c.goToCoordinates, &QPushButton::clicked, this, &MapWindow::Command4_Click);
    connect(c.buildMapDatabase, &QPushButton::clicked, this, &MapWindow::Command12_Click);
    connect(c.findMap, &QPushButton::clicked, this, &MapWindow::Command13_Click);
    showTrail(links.state.trailShown);
    connect(c.trail, &QCheckBox::toggled, this, [this](bool on) {
        links_.state.trailShown = on;
        showTrail(on);
    });
    for (QLineEdit* C::*box : kCoordinateBoxes) (c.*box)->installEventFilter(this);
    links.plugs.setMapViewCalls(this);
}

MapWindow::~MapWindow() { links_.plugs.setMapViewCalls(nullptr); }

bool MapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == links_.controls.mapPicture && event->type() == QEvent::Resize) fitToPicture();
    if (watched == widget_) return mouseOnMap(event);
    for (QLineEdit* C::*member : kCoordinateBoxes) {
        QLineEdit* box = links_.controls.*member;
        if (watched != box) continue;
        if (event->type() == QEvent::MouseButtonPress) coordinateBoxClick();
        else if (event->type() == QEvent::MouseButtonDblClick) coordinateBoxDoubleClick(box);
    }
    return QObject::eventFilter(watched, event);
}

void MapWindow::fitToPicture() {
    // The view fills Picture1's inner area, under the corner boxes.
    const QRect inner = links_.controls.mapPicture->contentsRect();
    widget_->setGeometry(inner);
    widget_->lower();
    view_.resizeView(float(inner.width()), float(inner.height()));
    syncControls();
}

bool MapWindow::goToBoxHasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    for (QLineEdit* C::*box : kCoordinateBoxes)
        if (focus && focus == links_.controls.*box) return true;
    return false;
}

bool MapWindow::mouseOnMap(QEvent* event) {
    switch (event->type()) {
    case QEvent::Wheel: {
        if (goToBoxHasFocus()) return true;
        // One zoom step per notch (120 eighths of a degree); a fine-grained
        // wheel or touchpad adds up to whole notches.
        wheelRest_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        while (wheelRest_ >= 120 || wheelRest_ <= -120) {
            const bool in = wheelRest_ > 0;
            wheelRest_ += in ? -120 : 120;
            if (in) zoomIn();
            else zoomOut();
        }
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        dragging_ = mouse->button() == Qt::LeftButton && !goToBoxHasFocus() &&
                    !links_.controls.movingMap->isChecked() && view_.zoom > 0;
        dragFrom_ = mouse->position().toPoint();
        dragScroll_[0] = view_.hScroll().value;
        dragScroll_[1] = view_.vScroll().value;
        return dragging_;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!dragging_ || !(mouse->buttons() & Qt::LeftButton)) return false;
        if (goToBoxHasFocus() || links_.controls.movingMap->isChecked()) {
            dragging_ = false;
            return false;
        }
        // The map moves with the pointer: picture pixels to bitmap pixels of the clip.
        const QPoint moved = mouse->position().toPoint() - dragFrom_;
        const double perPixelX = double(view_.clip().width) / std::max(1.0f, view_.viewWidth());
        const double perPixelY = double(view_.clip().height) / std::max(1.0f, view_.viewHeight());
        // Through the scroll bars, as if the user moved them.
        links_.controls.mapHScroll->setValue(int(std::lround(dragScroll_[0] - moved.x() * perPixelX)));
        links_.controls.mapVScroll->setValue(int(std::lround(dragScroll_[1] - moved.y() * perPixelY)));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const bool was = dragging_;
        dragging_ = false;
        return was;
    }
    default: return false;
    }
}

void MapWindow::addTrailPosition(GeoPosition p) {
    trail_.add(p);
    widget_->trailChanged();
}

void MapWindow::clearTrail() {
    trail_.clear();
    widget_->trailChanged();
}

void MapWindow::showTrail(bool shown) {
    widget_->setTrailShown(shown);
    QCheckBox* box = links_.controls.trail;
    if (box && box->isChecked() != shown) box->setChecked(shown);
}

void MapWindow::syncControls() {
    syncing_ = true;  // programmatic: the view state already knows
    auto mirror = [](QScrollBar* bar, const ScrollBarState& s) {
        if (!bar) return;
        bar->setRange(0, s.maximum);
        bar->setValue(s.value);
        bar->setPageStep(std::max(1, s.maximum / 10));
        bar->setVisible(s.visible);
    };
    mirror(links_.controls.mapHScroll, view_.hScroll());
    mirror(links_.controls.mapVScroll, view_.vScroll());
    links_.controls.mapStatusLine->setVisible(view_.statusLineVisible());
    setBox(links_.controls.zoomLevel, view_.zoomText());
    syncing_ = false;
}

void MapWindow::setBox(QLineEdit* box, const std::string& text) { box->setText(fromCp1252(text)); }

void MapWindow::message(const std::vector<std::string>& lines) { links_.dialogs.critical(joinMessageLines(lines)); }

void MapWindow::resetForStart() {
    map_.width = 640;
    map_.height = 480;
    view_.setBitmapSize(640, 480);
    view_.position = {320, 240};
    zoom_.busy = false;
    view_.suppressScrollEvent = false;
}

void MapWindow::showStartPicture(const QImage& picture) {
    if (bitmap_.assign(picture) != MapBitmap::LoadError::None) return;
    map_.width = bitmap_.width();
    map_.height = bitmap_.height();
    view_.setBitmapSize(map_.width, map_.height);
    view_.ShowWholeMap();
}

void MapWindow::applyZoom() {
    view_.ApplyZoom();
    syncControls();
}

template <class Op>
void MapWindow::zoomOperation(Op op) {
    op();
    syncControls();
}

void MapWindow::zoomIn() {
    zoomOperation([this] { zoom_.ZoomIn(); });
}
void MapWindow::zoomOut() {
    zoomOperation([this] { zoom_.ZoomOut(); });
}
void MapWindow::zoomFull() {
    zoomOperation([this] { zoom_.ZoomFull(); });
}
void MapWindow::zoomToLevel() {
    zoomOperation([this] { zoom_.ZoomToLevel(links_.state.targetZoomLevel); });
}

void MapWindow::followPosition() {
    QCheckBox* moving = links_.controls.movingMap;
    if (moving && moving->isChecked() && view_.zoom > 0) view_.CentreOnPosition();
    else view_.BitmapToView();
    view_.DrawPositionMark();
}

void MapWindow::showStatus(const std::string& text) { links_.status.setStatus(text); }
Language MapWindow::language() const { return links_.state.language(); }
bool MapWindow::spokenOutput() const { return links_.state.settings.soundOn == '1'; }
void MapWindow::startSound(const std::string& fileName) { links_.sound.start(links_.state.soundPath(fileName)); }
void MapWindow::waitForSoundEnd() {
    links_.sound.waitForEnd(SoundPlayback::kPlaySoundPasses);
    links_.sound.close();
}

bool MapWindow::LoadMapBitmap(MapLoadRequest request, std::function<void(bool)> then) {
    loader_.cancelRead();  // the last request wins
    const DosPaths& paths = links_.paths;
    if (!paths.exists(request.mapPath)) {
        view_.zoom = 0;
        view_.ApplyZoom();
        if (request.tell) {
            links_.dialogs.beep();
            message(mapNotFoundLines(links_.state.language()));
        }
        showWholeBitmap();
        return false;
    }
    const QString native = QString::fromStdString(paths.toNative(request.mapPath).string());
    // A new map is first shown whole: its overview is sampled as it is read.
    const QSize overviewSize(view_.wholeMapWidth(), view_.wholeMapHeight());
    loader_.read(native, overviewSize,
                 [this, request = std::move(request), then = std::move(then)](MapBitmap::ReadImage r) {
                     mapRead(request, std::move(r), then);
                 });
    return true;
}

void MapWindow::mapRead(const MapLoadRequest& request, MapBitmap::ReadImage read,
                        const std::function<void(bool)>& then) {
    const Language language = links_.state.language();
    view_.zoom = 0;
    view_.ApplyZoom();
    MapBitmap::LoadError error = read.error;
    if (error == MapBitmap::LoadError::None) {
        std::vector<QImage> previous;
        error = bitmap_.setBase(std::move(read.image), &previous, std::move(read.overview));
        loader_.release(std::move(previous));
    }
    std::vector<std::string> why;
    switch (error) {
    case MapBitmap::LoadError::None:
    case MapBitmap::LoadError::Cancelled: break;
    case MapBitmap::LoadError::CannotOpen:
        why = fileNotReadLines(language, fileErrorText(request.mapPath, read.openError, language));
        break;
    case MapBitmap::LoadError::Unreadable: why = unreadableBitmapLines(language, request.mapPath); break;
    case MapBitmap::LoadError::TooLarge: why = bitmapTooLargeLines(language, request.mapPath); break;
    case MapBitmap::LoadError::NoMemory: why = bitmapNoMemoryLines(language, request.mapPath); break;
    }
    const bool loaded = error == MapBitmap::LoadError::None;
    if (loaded) {
        map_.mapPath = request.mapPath;
        if (request.edges) map_.edges = *request.edges;
        // The halved copies are made after the map is shown; until then
        // clips come from the bitmap itself.
        loader_.buildPyramid(bitmap_.level(0), [this](QImage base, std::vector<QImage> levels) {
            if (!bitmap_.setPyramid(base, std::move(levels))) return;
            widget_->bitmapChanged();
        });
    }
    if (request.tell && !why.empty()) message(why);
    showWholeBitmap();
    // The task list names the map: the title of the window the map picture is in.
    if (loaded) links_.controls.mapPicture->window()->setWindowTitle(fromCp1252(mainWindowTitle(map_.mapPath)));
    then(loaded);
}

void MapWindow::showWholeBitmap() {
    // The size and display steps run on whatever bitmap is held now.
    map_.width = bitmap_.width();
    map_.height = bitmap_.height();
    view_.setBitmapSize(map_.width, map_.height);
    widget_->bitmapChanged();
    view_.ShowWholeMap();
    syncControls();
}

void MapWindow::Command2_Click() {
    NavigatorState& state = links_.state;
    const std::string previousStatus = links_.status.status();
    const Language language = state.language();
    links_.status.setStatus(selectBitmapText(language));
    const DosPaths& paths = links_.paths;
    const std::string folder =
        bitmapDialogFolder(map_.mapPath, state.programFolder(), [&](const std::string& p) { return paths.exists(p); });
    const auto chosen = links_.dialogs.openFile(bitmapFileFilter(language, MapBitmap::readableFormats()),
                                                paths.toNative(folder).string());
    if (!chosen || chosen->empty()) {
        // Cancelled: the current map, its calibration and the radar stay.
        links_.status.setStatus(previousStatus);
        return;
    }
    searching_ = false;  // this load replaces a map search's still running
    auto shown = [this, previousStatus](bool loaded) { showChosenMap(loaded, previousStatus); };
    if (!LoadMapBitmap({paths.toDos(*chosen), std::nullopt, true}, shown)) shown(false);
}

void MapWindow::showChosenMap(bool loaded, const std::string& previousStatus) {
    if (!loaded) {
        // Unreadable: the previous map stays with its path and calibration.
        links_.status.setStatus(previousStatus);
        return;
    }
    const Language language = links_.state.language();

    endRadar();
    view_.zoom = 0;
    view_.ApplyZoom();
    view_.DrawPositionMark();
    syncControls();

    const DosPaths& paths = links_.paths;
    const auto cornerFile = findCornerFile(map_.mapPath, [&](const std::string& p) { return paths.exists(p); });
    if (!cornerFile) {
        message(noCornerFileLines(language));
        return;
    }
    int readError = 0;
    const std::optional<std::string> text = readRegularFile(paths.toNative(*cornerFile), &readError);
    if (!text) {
        // A pipe, a folder or a file without read permission: said, and the
        // previous calibration stays as with no corner file.
        message(fileNotReadLines(language, fileErrorText(*cornerFile, readError, language)));
        return;
    }
    const CornerCoordinates corners = parseCornerCoordinates(*text);
    const CalibrationResult r = calibrateEdges(corners, map_.width, map_.height, map_.edges);
    if (r.complete) {
        setBox(links_.controls.lowerLeftCorner, r.corners.lowerLeft);
        setBox(links_.controls.upperRightCorner, r.corners.upperRight);
        setBox(links_.controls.lowerRightCorner, r.corners.lowerRight);
        setBox(links_.controls.upperLeftCorner, r.corners.upperLeft);
        setBox(links_.controls.northSouth, std::string(1, r.ns));
        setBox(links_.controls.eastWest, std::string(1, r.ew));
        if (!r.pointsSpanMap) message(referencePointsOnOneLineLines(language));
    }

    map_.mapName = mapNameOf(corners);
    setBox(links_.controls.mapStatusLine, mapStatusText(map_.mapName, map_.width, map_.height));
    links_.status.setStatus(mapLabelText(map_.mapName));

    speakMapName();
}

void MapWindow::endRadar() {
    // The first map ends the radar screen.
    for (QWidget* circle : links_.controls.radarCircles) circle->hide();
    links_.state.mapLoaded = 1;
    widget_->show();
}

void MapWindow::speakMapName() {
    const std::string spokenName = besideBitmap(map_.mapPath, ".WAV");
    if (links_.state.settings.soundOn != '0' && links_.paths.exists(spokenName)) {
        links_.sound.start(spokenName);
        links_.sound.waitForEnd(kMapNamePasses);
        links_.sound.close();
    }
}

}  // namespace tarvok::map
