#include "navigator/map/map_view_state.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace tarvok::map {

namespace {

std::int32_t clng(double v) { return roundToInt32Clamped(v); }

double powerOfTwo(int z) { return static_cast<double>(1 << std::clamp(z, 0, 30)); }

}  // namespace

BitmapPoint geoToBitmap(const MapCalibration& map, double latitude, double longitude) {
    const MapEdges& e = map.edges;
    return {(longitude - e.left) / (e.right - e.left) * map.width,
            (e.top - latitude) / (e.top - e.bottom) * map.height + 1};
}

bool GeoToPixel(const MapCalibration& map, double latitude, double longitude, PixelPosition& p) {
    const MapEdges& e = map.edges;
    if (!(latitude >= e.bottom && latitude <= e.top) || e.top == e.bottom) {
        p.y = 0;
        return false;
    }
    p.y = clng(geoToBitmap(map, latitude, e.left).y);
    if (!(longitude >= e.left && longitude <= e.right) || e.right == e.left) {
        p.x = 0;
        return false;
    }
    p.x = clng(geoToBitmap(map, latitude, longitude).x);
    return true;
}

void MapViewState::setBitmapSize(std::int32_t width, std::int32_t height) {
    w_ = std::max<std::int32_t>(width, 1);
    h_ = std::max<std::int32_t>(height, 1);
}

void MapViewState::setViewSize(float width, float height) {
    sw_ = std::max(width, 1.0f);
    sh_ = std::max(height, 1.0f);
}

void MapViewState::resizeView(float width, float height) {
    const float oldWidth = sw_, oldHeight = sh_;
    setViewSize(width, height);
    if (sw_ == oldWidth && sh_ == oldHeight) return;
    const double f = powerOfTwo(zoom);
    vw_ = clng(sw_ * f);
    vh_ = clng(sh_ * f);
    // The same clip stretched to the new size: the cross keeps its place on the map.
    position.x = clng((position.x - kScreenOriginX) * double(sw_) / oldWidth + kScreenOriginX);
    position.y = clng((position.y - kScreenOriginY) * double(sh_) / oldHeight + kScreenOriginY);
    RefreshMapView();
    DrawPositionMark();
}

std::string MapViewState::zoomText() const { return "Zoom=" + integerText(zoom); }

void MapViewState::setValue(ScrollBarState& bar, double value) {
    // A scroll bar never holds a value outside its range.
    auto v = static_cast<std::int16_t>(std::nearbyint(std::clamp(value, 0.0, double(bar.maximum))));
    if (v == bar.value) return;
    bar.value = v;
    scrollChanged();
}

void MapViewState::setMaximum(ScrollBarState& bar, double maximum) {
    bar.maximum = static_cast<std::int16_t>(std::clamp(maximum, 0.0, 32767.0));
    if (bar.value > bar.maximum) {
        bar.value = bar.maximum;
        scrollChanged();
    }
}

void MapViewState::scrollChanged(bool byUser) {
    if (suppressScrollEvent) {
        suppressScrollEvent = false;
        return;
    }
    RefreshMapView();
    // The user moved the map under the mark: the mark moves with it.
    if (byUser && markPixel_) position = BitmapToScreen(*markPixel_);
    DrawPositionMark();
}

void MapViewState::HScroll3_Change(int value) {
    hScroll_.value = static_cast<std::int16_t>(std::clamp<int>(value, 0, hScroll_.maximum));
    scrollChanged(true);
}

void MapViewState::VScroll3_Change(int value) {
    vScroll_.value = static_cast<std::int16_t>(std::clamp<int>(value, 0, vScroll_.maximum));
    scrollChanged(true);
}

void MapViewState::ApplyZoom() {
    zoom = std::clamp(zoom, 0, kMaxZoomLevel);
    const double f = powerOfTwo(zoom);
    if (zoom == 0) {
        hScroll_.visible = vScroll_.visible = false;
        position = {clng(w_ / 2.0), clng(h_ / 2.0)};
    } else {
        hScroll_.visible = vScroll_.visible = true;
    }
    if (output_) output_->controlsChanged();

    suppressScrollEvent = true;
    setValue(hScroll_, 0);
    suppressScrollEvent = true;
    setValue(vScroll_, 0);

    if (zoom == 0) {
        clip_ = {clip_.x, clip_.y, w_, h_};
        vw_ = clng(sw_);
        vh_ = clng(sh_);
        suppressScrollEvent = true;
        setMaximum(hScroll_, w_);
        suppressScrollEvent = true;
        setMaximum(vScroll_, h_);
    } else {
        clip_ = {clip_.x, clip_.y, static_cast<std::int32_t>(integerPart(w_ / f)),
                 static_cast<std::int32_t>(integerPart(h_ / f))};
        vw_ = clng(sw_ * f);
        vh_ = clng(sh_ * f);
        setMaximum(hScroll_, integerPart(w_ * (f - 1) / f));
        setMaximum(vScroll_, integerPart(h_ * (f - 1) / f));
        suppressScrollEvent = true;
        setValue(hScroll_, std::nearbyint(position.x * (f - 1) / f));
        suppressScrollEvent = true;
        setValue(vScroll_, std::nearbyint(position.y * (f - 1) / f));
    }
    CentreOnPosition();
    RefreshMapView();
}

PixelPosition MapViewState::BitmapToScreen(PixelPosition p) const {
    // The clip shown starts at the scroll values (0 at level 0) and is
    // stretched to CInt(SW) x CInt(SH); the renderer samples each screen
    // pixel at its centre, so the screen pixel that holds the bitmap pixel's
    // centre shows that bitmap pixel.
    auto axis = [](std::int32_t pixel, std::int32_t clipOrigin, std::int32_t clipSize, std::int32_t stretch,
                   int origin) {
        const double at = (double(pixel) + 0.5 - clipOrigin) * stretch / std::max(clipSize, 1);
        return clng(std::floor(at) + origin);
    };
    const std::int32_t h = zoom > 0 ? hScroll_.value : 0;
    const std::int32_t v = zoom > 0 ? vScroll_.value : 0;
    return {axis(p.x, h, clip_.width, clng(sw_), kScreenOriginX),
            axis(p.y, v, clip_.height, clng(sh_), kScreenOriginY)};
}

void MapViewState::placeMarkAt(PixelPosition bitmapPixel) {
    markPixel_ = bitmapPixel;
    position = BitmapToScreen(bitmapPixel);
}

void MapViewState::CentreOnPosition() {
    // A change event may run inside the scrolling below and use P.
    const PixelPosition target = position;
    suppressScrollEvent = true;
    if (zoom > 0) {
        const double half = powerOfTwo(zoom + 1);
        auto centre = [&](ScrollBarState& bar, std::int32_t p, std::int32_t size) {
            std::int32_t s = clng(p - size / half);
            setValue(bar, s < 0 ? 0 : s > bar.maximum ? bar.maximum : s);
        };
        centre(hScroll_, target.x, w_);
        centre(vScroll_, target.y, h_);
    } else {
        setValue(hScroll_, 0);
        setValue(vScroll_, 0);
    }
    // The flag is armed again against a late change event; it is disarmed
    // when the operation ends, so that a programmatic change that did not
    // move a bar cannot swallow the user's next scroll.
    suppressScrollEvent = true;
    // The one-shot flag may have swallowed the only change: the picture
    // shows the clip at the scroll values all the same.
    const std::int32_t h = zoom > 0 ? hScroll_.value : 0, v = zoom > 0 ? vScroll_.value : 0;
    if (clip_.x != h || clip_.y != v) RefreshMapView();
    placeMarkAt(target);
    suppressScrollEvent = false;
    if (output_) output_->controlsChanged();
}

void MapViewState::RefreshMapView() {
    clip_.x = hScroll_.value;
    clip_.y = vScroll_.value;
    if (output_) output_->showClip(clip_, clng(sw_), clng(sh_));
}

std::int32_t MapViewState::wholeMapWidth() const { return clng(sw_); }
std::int32_t MapViewState::wholeMapHeight() const { return clng(sh_); }

void MapViewState::ShowWholeMap() {
    clip_ = {0, 0, w_, h_};
    if (output_) output_->showClip(clip_, wholeMapWidth(), wholeMapHeight());
}

void MapViewState::BitmapToView() { placeMarkAt(position); }

std::vector<MarkPixel> MapViewState::positionMark() const {
    const int s = std::max(crossSize, 0);
    const int length = 30 * s + 10;
    const int half = 15 * s + 5;
    auto inside = [&](double x, double y) {
        return kScreenOriginX < x && x < sw_ + kScreenOriginX && kScreenOriginY < y && y < sh_ + kScreenOriginY;
    };
    std::vector<MarkPixel> pixels;
    pixels.reserve(4 * length);
    auto plot = [&](std::int32_t x, std::int32_t y) {
        if (!inside(x, y)) return;
        pixels.push_back({x, y, 100, 0, 100});
        pixels.push_back({x - 1, y - 1, 220, 0, 220});
    };
    const std::int32_t px = position.x, py = position.y;
    for (int i = 1; i <= length; ++i)
        if (i != half) plot(px + i - half, py);
    for (int i = 1; i <= length; ++i)
        if (i != half) plot(px, py + i - half);
    return pixels;
}

void MapViewState::DrawPositionMark() {
    if (output_) output_->showMark(positionMark());
}

PixelPosition MapViewState::viewCentreInBitmap() const {
    if (zoom == 0) return {clng(w_ / 2.0), clng(h_ / 2.0)};
    return {clng(hScroll_.value + clip_.width / 2.0), clng(vScroll_.value + clip_.height / 2.0)};
}

namespace {

enum class ZoomStatus { InOneLevel, OutOneLevel, OutToWholeMap };

const char* zoomStatusText(ZoomStatus status, Language language) {
    switch (status) {
    case ZoomStatus::InOneLevel: return inLanguage(language, " ZOOM IN (1 NIVEAU)", " ZOOM IN (1 LEVEL)");
    case ZoomStatus::OutOneLevel: return inLanguage(language, " ZOOM UIT (1 NIVEAU)", " ZOOM OUT (1 LEVEL)");
    case ZoomStatus::OutToWholeMap: return inLanguage(language, "ZOOM MAXIMAAL UIT", " ZOOM OUT (MAXIMUM)");
    }
    return "";
}

}  // namespace

void MapZoom::step(int delta) {
    if (busy) return;
    busy = true;
    feedback_.showStatus(
        zoomStatusText(delta > 0 ? ZoomStatus::InOneLevel : ZoomStatus::OutOneLevel, feedback_.language()));
    bool sound = false;
    const int level = view_.zoom + delta;
    if (level >= 0 && level <= kMaxZoomLevel) {
        // Zoom about what the user is looking at: the bitmap pixel under the
        // picture's centre becomes the position to centre on.
        const PixelPosition centre = view_.viewCentreInBitmap();
        view_.zoom = level;
        if (!silent_ && feedback_.spokenOutput()) {
            feedback_.startSound("Mzoom" + integerText(level) + ".WAV");
            sound = true;
        }
        view_.position = centre;
        view_.ApplyZoom();
        view_.DrawPositionMark();
    }
    feedback_.showStatus("");
    busy = false;
    if (sound) feedback_.waitForSoundEnd();
}

void MapZoom::ZoomIn() { step(+1); }
void MapZoom::ZoomOut() { step(-1); }

void MapZoom::ZoomFull() {
    if (busy) return;
    bool sound = false;
    if (!silent_ && feedback_.spokenOutput()) {
        feedback_.startSound("Mzoom0.WAV");
        sound = true;
    }
    busy = true;
    feedback_.showStatus(zoomStatusText(ZoomStatus::OutToWholeMap, feedback_.language()));
    view_.zoom = 0;
    feedback_.showStatus("");
    view_.ApplyZoom();
    busy = false;
    if (sound) feedback_.waitForSoundEnd();
}

void MapZoom::ZoomToLevel(int targetLevel) {
    const int target = std::clamp(targetLevel, 0, kMaxZoomLevel);
    while (view_.zoom != target) {
        const int before = view_.zoom;
        silent_ = std::abs(before - target) > 1;
        if (before > target) ZoomOut();
        else ZoomIn();
        silent_ = false;
        if (view_.zoom == before) break;  // another zoom is running: do not spin
    }
}

}  // namespace tarvok::map
