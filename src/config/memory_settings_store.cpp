#include "config/memory_settings_store.h"

#include <set>

namespace vespin {

std::string NormaliseKeyPath(std::string_view path) {
    std::string result;
    bool separator = false;
    for (const char c : path) {
        if (c == '\\') {
            separator = !result.empty();
            continue;
        }
        if (separator) result += '\\';
        separator = false;
        result += c;
    }
    return result;
}

namespace {

// The prefix every key below path starts with. Keys sharing a prefix are contiguous in the
// sorted tree, so a subtree is one range from lower_bound(prefix).
std::string ChildPrefix(std::string_view path) {
    return path.empty() ? std::string() : std::string(path) + '\\';
}

} // namespace

bool MemorySettingsStore::OpenKey(std::string_view path, bool create) {
    std::string key = NormaliseKeyPath(path);
    if (!tree_.contains(key)) {
        const std::string prefix = ChildPrefix(key);
        const auto it = tree_.lower_bound(prefix);
        const bool hasChildren = it != tree_.end() && it->first.starts_with(prefix);
        if (!create && !hasChildren && !key.empty()) return false;
        if (create) tree_.try_emplace(key);
    }
    current_ = std::move(key);
    return true;
}

const SettingValue* MemorySettingsStore::Find(std::string_view name) const {
    const auto key = tree_.find(current_);
    if (key == tree_.end()) return nullptr;
    const auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
}

std::string MemorySettingsStore::ReadString(std::string_view name) const {
    const SettingValue* value = Find(name);
    const auto* text = value ? std::get_if<std::string>(value) : nullptr;
    return text ? *text : std::string();
}

std::optional<int32_t> MemorySettingsStore::ReadInteger(std::string_view name) const {
    const SettingValue* value = Find(name);
    const auto* number = value ? std::get_if<int32_t>(value) : nullptr;
    if (!number) return std::nullopt;
    return *number;
}

std::optional<bool> MemorySettingsStore::ReadBool(std::string_view name) const {
    const auto number = ReadInteger(name);
    if (!number) return std::nullopt;
    return *number != 0;
}

void MemorySettingsStore::Write(std::string_view name, SettingValue value) {
    tree_[current_].insert_or_assign(std::string(name), std::move(value));
}

void MemorySettingsStore::WriteString(std::string_view name, std::string_view value) {
    Write(name, std::string(value));
}

void MemorySettingsStore::WriteInteger(std::string_view name, int32_t value) {
    Write(name, value);
}

void MemorySettingsStore::WriteBool(std::string_view name, bool value) {
    Write(name, value ? 1 : 0);
}

bool MemorySettingsStore::HasSubKeys() const {
    return !GetKeyNames().empty();
}

std::vector<std::string> MemorySettingsStore::GetKeyNames() const {
    std::set<std::string> names;
    const std::string prefix = ChildPrefix(current_);
    for (auto it = tree_.lower_bound(prefix); it != tree_.end(); ++it) {
        if (!it->first.starts_with(prefix)) break;
        if (it->first.size() == prefix.size()) continue; // the root key itself
        const std::string_view rest = std::string_view(it->first).substr(prefix.size());
        names.emplace(rest.substr(0, rest.find('\\')));
    }
    return {names.begin(), names.end()};
}

void MemorySettingsStore::DeleteKey(std::string_view path) {
    const std::string key = NormaliseKeyPath(path);
    if (key.empty()) return; // the root itself is never deleted
    tree_.erase(key);
    const std::string prefix = ChildPrefix(key);
    auto it = tree_.lower_bound(prefix);
    while (it != tree_.end() && it->first.starts_with(prefix))
        it = tree_.erase(it);
}

void MemorySettingsStore::ReplaceTree(SettingsTree tree) {
    tree_ = std::move(tree);
}

} // namespace vespin
