#include "media/tzx_messager.h"

namespace vespin {

void TTzxMessager::ShowMessage(int seconds, const std::string& text) {
    timerEnabled_ = seconds != 0;
    secondsLeft_ = seconds;
    memo_.clear();
    size_t from = 0;
    for (size_t cr; (cr = text.find('\r', from)) != std::string::npos; from = cr + 1) {
        memo_.push_back(text.substr(from, cr - from));
    }
    memo_.push_back(text.substr(from));
    visible_ = true;
}

void TTzxMessager::TimerTick() {
    if (!timerEnabled_) return;
    if (--secondsLeft_ > 0) return;
    timerEnabled_ = false;
    visible_ = false;
}

void TTzxMessager::Close() {
    timerEnabled_ = false;
    visible_ = false;
}

} // namespace vespin
