// The block selector dialog's logic: a modal list of the texts of a TZX select block. Its
// result is the chosen index, or 255 when the user chose nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vespin {

inline constexpr uint8_t kNoBlockSelected = 255;

class TBlockSelectorF {
  public:
    // Fills the list before the dialog is shown; the first text starts selected.
    void Open(std::vector<std::string> texts);

    void ListClick(int index); // a click on a line of the list
    void OkButtonClick();      // also a double click or ENTER on the list
    void CancelButtonClick();  // also ESC and closing the dialog

    const std::vector<std::string>& Texts() const { return texts_; }
    int ItemIndex() const { return itemIndex_; }
    bool OkEnabled() const { return itemIndex_ >= 0; }
    bool Closed() const { return closed_; }
    uint8_t Result() const { return result_; }

  private:
    std::vector<std::string> texts_;
    int itemIndex_ = -1;
    bool closed_ = false;
    uint8_t result_ = kNoBlockSelected;
};

} // namespace vespin
