// The hierarchical settings store: keys named by backslash-separated paths below the program's
// root, each key holding named string and integer values (booleans are integers 0 and 1).
//
// Readers open a key, read the values of one group and give the whole group its defaults when
// an integer or boolean read fails (missing value or a value of another type).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vespin {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Makes a key current; with create set a missing key is created. False when the key is
    // missing and create is clear.
    virtual bool OpenKey(std::string_view path, bool create) = 0;

    // Values of the current key. A missing string reads as the empty string; integer and
    // boolean reads give nullopt when the value is missing or not an integer.
    virtual std::string ReadString(std::string_view name) const = 0;
    virtual std::optional<int32_t> ReadInteger(std::string_view name) const = 0;
    virtual std::optional<bool> ReadBool(std::string_view name) const = 0;

    virtual void WriteString(std::string_view name, std::string_view value) = 0;
    virtual void WriteInteger(std::string_view name, int32_t value) = 0;
    virtual void WriteBool(std::string_view name, bool value) = 0;

    // Sub-keys of the current key: whether there are any, and their names in sorted order.
    virtual bool HasSubKeys() const = 0;
    virtual std::vector<std::string> GetKeyNames() const = 0;

    // Removes a key with its values and sub-keys. The path is relative to the root.
    virtual void DeleteKey(std::string_view path) = 0;
};

} // namespace vespin
