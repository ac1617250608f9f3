#include "debugger/goto_form.h"

namespace vespin {

void TGoToAddressForm::Show() {
    if (history_.empty()) {
        SetText("");
    } else {
        ChooseHistory(0);
    }
}

void TGoToAddressForm::SetText(const std::string& text) {
    field_.Set(text, regs_);
    chosen_ = -1;
}

void TGoToAddressForm::ChooseHistory(size_t i) {
    if (i >= history_.size()) return;
    field_.Set(history_[i], regs_);
    chosen_ = static_cast<int>(i);
}

bool TGoToAddressForm::GoTo() {
    if (!field_.valid) return false;
    if (chosen_ >= 0) {
        history_.erase(history_.begin() + chosen_);
    }
    history_.insert(history_.begin(), field_.text);
    if (history_.size() > kHistorySize) history_.resize(kHistorySize);
    chosen_ = 0;
    return true;
}

void TGoToAddressForm::SetHistory(std::vector<std::string> history) {
    history_ = std::move(history);
    if (history_.size() > kHistorySize) history_.resize(kHistorySize);
}

} // namespace vespin
