#include "input/input_errors.h"

#include <array>
#include <cstdio>

namespace vespin {

namespace {

constexpr std::array<std::string_view, 9> kStepTexts = {
    "Can't create DirectInput object!\nFunction 'DirectInputCreate'",
    "Can't create DirectInput Device object!\nFunction 'CreateDevice'",
    "Can't set DirectInput Device Data Format!\nFunction 'SetDataFormat'",
    "Can't set DirectInput Device Cooperative Level!\nFunction 'SetCooperativeLevel'",
    "Can't create Event!\nFunction 'CreateEvent'",
    "Can't set DirectInput Device Event Notification!\nFunction 'SetEventNotification'",
    "Can't set DirectInput Device Property!\nFunction 'SetProperty'",
    "Can't acquire DirectInput Device!\nFunction 'Acquire'",
    "Can't get DirectInput Device Data!\nFunction 'GetDeviceData'",
};

} // namespace

std::string InputFatalErrorText(InputError step, uint32_t code) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", code);
    std::string text(kStepTexts[static_cast<size_t>(step) - 1]);
    text += " return result code ";
    text += hex;
    text += "h.";
    return text;
}

} // namespace vespin
