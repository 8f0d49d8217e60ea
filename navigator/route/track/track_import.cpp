#include "navigator/route/track/track_import.h"

#include <filesystem>
#include <system_error>

namespace tarvok {

std::string TextTrackSource::error() const {
    return lines_.failed() ? "the file could not be read to its end" : "";
}

std::ifstream openTrackStream(const std::string& nativePath) {
    std::error_code ec;
    if (std::filesystem::is_directory(nativePath, ec)) return {};
    return std::ifstream(nativePath, std::ios::binary);
}

std::unique_ptr<TextTrackFile> TextTrackFile::open(const std::string& nativePath, TrackFormat format) {
    std::ifstream file = openTrackStream(nativePath);
    if (!file.is_open()) return nullptr;
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
