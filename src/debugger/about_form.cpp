#include "debugger/about_form.h"

namespace vespin {

TAboutForm::TAboutForm(const FileSearchDirs& dirs, int firstHeight)
    : history_(kNoHistory), firstHeight_(firstHeight), height_(firstHeight) {
    const auto path = LocateFile(dirs, kHistoryFile);
    if (!path) return;
    const auto bytes = ReadWholeFile(*path, 1u << 20);
    if (bytes) history_.assign(bytes->begin(), bytes->end());
}

void TAboutForm::ToggleHistory() {
    height_ = height_ == firstHeight_ ? firstHeight_ + kHistoryHeight : firstHeight_;
}

void TAboutForm::Ok() {
    if (height_ > 170) height_ = firstHeight_;
}

} // namespace vespin
