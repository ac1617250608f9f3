// A settings store held in memory: the store of the tests, and the working copy that the
// settings file is loaded into and saved from.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "config/settings_store.h"

namespace vespin {

using SettingValue = std::variant<int32_t, std::string>;
using SettingValues = std::map<std::string, SettingValue, std::less<>>;
// Every key that exists, by its full path ("Hardware\Keyboard"); parents of a key need no
// entry of their own.
using SettingsTree = std::map<std::string, SettingValues, std::less<>>;

// Path without leading, trailing or doubled backslashes.
std::string NormaliseKeyPath(std::string_view path);

class MemorySettingsStore : public SettingsStore {
  public:
    MemorySettingsStore() = default;
    explicit MemorySettingsStore(SettingsTree tree) : tree_(std::move(tree)) {}

    bool OpenKey(std::string_view path, bool create) override;
    std::string ReadString(std::string_view name) const override;
    std::optional<int32_t> ReadInteger(std::string_view name) const override;
    std::optional<bool> ReadBool(std::string_view name) const override;
    void WriteString(std::string_view name, std::string_view value) override;
    void WriteInteger(std::string_view name, int32_t value) override;
    void WriteBool(std::string_view name, bool value) override;
    bool HasSubKeys() const override;
    std::vector<std::string> GetKeyNames() const override;
    void DeleteKey(std::string_view path) override;

    const SettingsTree& Tree() const { return tree_; }
    void ReplaceTree(SettingsTree tree);

  private:
    const SettingValue* Find(std::string_view name) const;
    void Write(std::string_view name, SettingValue value);

    SettingsTree tree_;
    std::string current_; // path of the current key
};

} // namespace vespin
