#include "debugger/block_selector.h"

namespace vespin {

void TBlockSelectorF::Open(std::vector<std::string> texts) {
    texts_ = std::move(texts);
    itemIndex_ = texts_.empty() ? -1 : 0;
    closed_ = false;
    result_ = kNoBlockSelected;
}

void TBlockSelectorF::ListClick(int index) {
    if (index >= 0 && index < int(texts_.size())) itemIndex_ = index;
}

void TBlockSelectorF::OkButtonClick() {
    if (!OkEnabled()) return;
    // A select block holds at most 255 entries, so an index never collides with "none".
    result_ = uint8_t(itemIndex_);
    closed_ = true;
}

void TBlockSelectorF::CancelButtonClick() {
    result_ = kNoBlockSelected;
    closed_ = true;
}

} // namespace vespin
