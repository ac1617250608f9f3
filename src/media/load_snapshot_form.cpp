#include "media/load_snapshot_form.h"

#include <algorithm>

#include "media/sna.h"

namespace vespin {

namespace fs = std::filesystem;

TLoadSnapForm::TLoadSnapForm() {
    Inspect();
}

void TLoadSnapForm::ReadSettings(const LoadSnapshotSettings& s, int desktopWidth,
                                 int desktopHeight) {
    fileName_ = s.fileName.value_or(fileName_);
    defaultDir_ = s.defaultDir.value_or(defaultDir_);
    x_ = s.xPosition.value_or(x_);
    y_ = s.yPosition.value_or(y_);
    if (y_ > desktopHeight - 50) y_ = 20;
    if (x_ > desktopWidth - 40) x_ = 20;
    SetLocation(s.location.value_or(location_));
}

LoadSnapshotSettings TLoadSnapForm::WriteSettings() const {
    return {location_, fileName_, defaultDir_, x_, y_};
}

void TLoadSnapForm::SetLocation(std::string text) {
    location_ = std::move(text);
    Inspect();
}

void TLoadSnapForm::FileChosen(const fs::path& path) {
    fileName_ = path.filename().string();
    defaultDir_ = path.parent_path().string();
    SetLocation(path.string());
}

void TLoadSnapForm::Inspect() {
    size_ = format_ = version_ = InfoLabel{};
    loadEnabled_ = false;

    std::error_code ec;
    const fs::path path(location_);
    if (location_.empty() || !fs::is_regular_file(path, ec)) {
        if (!location_.empty()) size_ = {"Not found", true};
        return;
    }
    std::string format = path.extension().string();
    if (!format.empty()) format.erase(0, 1);
    format = format.substr(0, 3);
    std::transform(format.begin(), format.end(), format.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    if (format != "SNA" && format != "Z80") {
        format_ = {"Unknown", true};
        return;
    }
    const uintmax_t size = fs::file_size(path, ec);
    format_ = {format, false};
    size_ = {ec ? std::string() : std::to_string(size), false};
    if (format == "SNA") {
        if (size == kSna48Size) {
            version_ = {"48k", false};
        } else if (size == kSna128Size || size == kSna128WithPagedBank2Or5Size) {
            version_ = {"128k", false};
        } else {
            version_ = {"Unknown", true};
            return;
        }
    }
    loadEnabled_ = true;
}

} // namespace vespin
