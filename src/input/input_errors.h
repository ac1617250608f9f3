// Fatal failures of the host input devices: the message box caption and texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vespin {

// Steps of the input device set-up, numbered as the messages are.
enum class InputError : uint8_t {
    CreateInput = 1,
    CreateDevice,
    DataFormat,
    CooperativeLevel,
    CreateEvent,
    EventNotification,
    SetProperty,
    Acquire,
    GetDeviceData,
};

constexpr std::string_view kInputFatalCaption = " DirectInput Fatal Error!";

// The step's text, " return result code ", the code as 8 hexadecimal digits and "h.".
std::string InputFatalErrorText(InputError step, uint32_t code);

} // namespace vespin
