#include "navigator/map/map_loader.h"

#include <thread>

namespace tarvok::map {

namespace {

std::atomic<long long> readDelayMs{0};

// Waits `ms`, in short steps so that a cancel ends the wait soon.
void pause(long long ms, const std::atomic<bool>& cancelled) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!cancelled && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

}  // namespace

void MapLoader::setReadDelay(std::chrono::milliseconds delay) { readDelayMs = delay.count(); }

MapLoader::MapLoader(QObject* parent) : QObject(parent) {
    // A read, a pyramid and a release may run side by side; a cancelled
    // read of a format Qt decodes runs to its end meanwhile.
    pool_.setMaxThreadCount(3);
}

MapLoader::~MapLoader() {
    for (auto* job : {&read_, &pyramid_})
        if (*job) (*job)->cancelled = true;
    pool_.waitForDone();
}

std::shared_ptr<MapLoader::Job> MapLoader::replace(std::shared_ptr<Job>& slot) {
    if (slot) slot->cancelled = true;
    slot = std::make_shared<Job>();
    return slot;
}

void MapLoader::read(const QString& nativePath, QSize overviewSize, ReadDone done) {
    std::shared_ptr<Job> job = replace(read_);
    pool_.start([this, job, nativePath, overviewSize, done = std::move(done)]() mutable {
        pause(readDelayMs, job->cancelled);
        MapBitmap::ReadImage r = MapBitmap::read(nativePath, &job->cancelled, overviewSize);
        // The destructor waits for this worker, so the loader is alive here.
        QMetaObject::invokeMethod(
            this,
            [this, job, r = std::move(r), done = std::move(done)]() mutable {
                if (job->cancelled || read_ != job) {
                    // Replaced meanwhile: the image is let go off this thread.
                    if (!r.image.isNull()) release({std::move(r.image)});
                    return;
                }
                read_.reset();
                done(std::move(r));
            },
            Qt::QueuedConnection);
    });
}

void MapLoader::buildPyramid(QImage base, PyramidDone done) {
    std::shared_ptr<Job> job = replace(pyramid_);
    pool_.start([this, job, base = std::move(base), done = std::move(done)]() mutable {
        std::vector<QImage> levels = MapBitmap::pyramidOf(base, &job->cancelled);
        QMetaObject::invokeMethod(
            this,
            [this, job, base = std::move(base), levels = std::move(levels), done = std::move(done)]() mutable {
                if (job->cancelled || pyramid_ != job) {
                    release(std::move(levels));
                    return;
                }
                pyramid_.reset();
                done(std::move(base), std::move(levels));
            },
            Qt::QueuedConnection);
    });
}

void MapLoader::release(std::vector<QImage> images) {
    if (images.empty()) return;
    pool_.start([images = std::move(images)]() mutable { images.clear(); });
}

void MapLoader::cancelRead() {
    if (read_) read_->cancelled = true;
    read_.reset();
}

}  // namespace tarvok::map
