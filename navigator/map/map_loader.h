// Reads map bitmaps and builds their pyramids on worker threads, so that the
// window goes on showing the current map, taking fixes and keys, while a
// map of hundreds of megabytes comes in. Results are handed back on the
// thread that owns the loader. A new read replaces the one still running
// (the last request wins): the replaced read is cancelled and its result
// never delivered. Likewise for pyramids.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "navigator/map/map_bitmap.h"

namespace tarvok::map {

class MapLoader : public QObject {
    Q_OBJECT
public:
    using ReadDone = std::function<void(MapBitmap::ReadImage)>;
    using PyramidDone = std::function<void(QImage base, std::vector<QImage> levels)>;

    explicit MapLoader(QObject* parent = nullptr);
    // Cancels what runs and waits for the workers to notice.
    ~MapLoader() override;

    // Reads the image at `nativePath`, with its overview of `overviewSize`
    // (see MapBitmap::read); `done` runs on this loader's thread.
    void read(const QString& nativePath, QSize overviewSize, ReadDone done);
    // Builds the pyramid of `base`; `done` runs on this loader's thread.
    void buildPyramid(QImage base, PyramidDone done);
    // Lets go of `images` on a worker: freeing hundreds of megabytes takes
    // longer than a frame.
    void release(std::vector<QImage> images);
    // Drops the read still running: its `done` never runs.
    void cancelRead();
    bool reading() const { return bool(read_); }

    // Every read first waits this long (tests: a slow disk).
    static void setReadDelay(std::chrono::milliseconds delay);

private:
    struct Job {
        std::atomic<bool> cancelled{false};
    };
    std::shared_ptr<Job> replace(std::shared_ptr<Job>& slot);

    QThreadPool pool_;
    std::shared_ptr<Job> read_;
    std::shared_ptr<Job> pyramid_;
};

}  // namespace tarvok::map
