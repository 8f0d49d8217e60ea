#include "navigator/route/track/track_import.h"

namespace tarvok {

std::string TextTrackSource::error() const { return lines_.failed() ? "the file could not be read to its end" : ""; }

std::unique_ptr<TextTrackFile> TextTrackFile::open(const std::string& nativePath, TrackFormat format, int* error) {
    RegularFile file = RegularFile::openForReading(nativePath);
    if (error) *error = file.error();
    if (!file) return nullptr;
    return std::unique_ptr<TextTrackFile>(new TextTrackFile(std::move(file), format));
}

TrackStep TrackImport::step(int thinning) {
    if (finished_) return *finished_;
    if (!source_->advance()) {
        TrackStep end;
        std::string why = source_->error();
        if (!why.empty()) {
            end.kind = TrackStep::Kind::Error;
            end.error = std::move(why);
        }
        finished_ = end;
        return end;
    }
    TrackStep s;
    s.kind = TrackStep::Kind::Skipped;
    if (++counter_ >= thinning) {
        counter_ = 0;
        if (auto p = source_->point()) {
            s.kind = TrackStep::Kind::Point;
            s.point = std::move(*p);
        }
    }
    return s;
}

}  // namespace tarvok
