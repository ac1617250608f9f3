#include "debugger/goto_form.h"

#include "debugger/expression.h"
#include "debugger/number_format.h"

namespace vespin {

void TGoToAddressForm::Show() {
    if (history_.empty()) {
        SetText("");
    } else {
        ChooseHistory(0);
    }
}

void TGoToAddressForm::SetText(const std::string& text) {
    text_ = text;
    chosen_ = -1;
    Evaluate();
}

void TGoToAddressForm::ChooseHistory(size_t i) {
    if (i >= history_.size()) return;
    text_ = history_[i];
    chosen_ = static_cast<int>(i);
    Evaluate();
}

void TGoToAddressForm::Evaluate() {
    try {
        address_ = static_cast<uint16_t>(EvaluateExpression(text_, regs_));
        valid_ = true;
        hint_ = HashHex4(address_);
    } catch (const ExpressionError&) {
        valid_ = false;
        hint_ = "Error!";
    }
}

bool TGoToAddressForm::GoTo() {
    if (!valid_) return false;
    if (chosen_ >= 0) {
        history_.erase(history_.begin() + chosen_);
    }
    history_.insert(history_.begin(), text_);
    if (history_.size() > kHistorySize) history_.resize(kHistorySize);
    chosen_ = 0;
    return true;
}

void TGoToAddressForm::SetHistory(std::vector<std::string> history) {
    history_ = std::move(history);
    if (history_.size() > kHistorySize) history_.resize(kHistorySize);
}

} // namespace vespin
