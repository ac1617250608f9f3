// The TZX message window's logic: the text of a message block, shown for its display time in
// seconds (0: until the user closes it). Playback does not wait for it.
#pragma once

#include <string>
#include <vector>

namespace vespin {

inline constexpr const char* kTzxMessagerCaption = "  TZX Message";

class TTzxMessager {
  public:
    // Shows a message; a carriage return in the text starts a new memo line.
    void ShowMessage(int seconds, const std::string& text);
    // The window's one-second timer.
    void TimerTick();
    // The user closes the window.
    void Close();

    bool Visible() const { return visible_; }
    bool TimerEnabled() const { return timerEnabled_; }
    int SecondsLeft() const { return secondsLeft_; }
    const std::vector<std::string>& MemoLines() const { return memo_; }

  private:
    bool visible_ = false;
    bool timerEnabled_ = false;
    int secondsLeft_ = 0;
    std::vector<std::string> memo_;
};

} // namespace vespin
