// Reading and writing a group of settings values described as data: one table of fields per
// group, each naming its value, its type (by the member it fills) and its accepted range.
//
// A group is read in table order. When an integer or boolean read fails (missing value, a
// value of another type, or a number outside its range), reading stops and the group's values
// fall back: to the group's defaults, or, for groups marked KeepFromFailure, the failed value
// and those after it keep what the target held before.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "config/settings_store.h"

namespace vespin {

template <class S> struct SettingField {
    using Member = std::variant<std::string S::*, int32_t S::*, bool S::*>;

    std::string_view name;
    Member member;
    int32_t min = std::numeric_limits<int32_t>::min();
    int32_t max = std::numeric_limits<int32_t>::max();
    std::string_view whenEmpty{}; // strings: replaces an empty value after reading
    bool writeOnly = false;       // never read: always starts from its default
};

enum class GroupFallback : uint8_t { Defaults, KeepFromFailure };

template <class S> struct SettingGroup {
    std::string_view key;
    std::span<const SettingField<S>> fields;
    GroupFallback fallback = GroupFallback::Defaults;
};

namespace detail {

// Out of line on purpose: inlined into a struct without string members, the string branch that
// never runs for it makes GCC's object-size check warn.
[[gnu::noinline]] inline void AssignString(std::string& to, const std::string& from) {
    to = from;
}

// Reads one field into target; false when an integer or boolean read fails.
template <class S>
bool ReadField(const SettingsStore& store, const SettingField<S>& field, S& target) {
    if (const auto* text = std::get_if<std::string S::*>(&field.member)) {
        std::string value = store.ReadString(field.name);
        if (value.empty()) value = field.whenEmpty;
        AssignString(target.*(*text), value);
        return true;
    }
    if (const auto* number = std::get_if<int32_t S::*>(&field.member)) {
        const auto value = store.ReadInteger(field.name);
        if (!value || *value < field.min || *value > field.max) return false;
        target.*(*number) = *value;
        return true;
    }
    const auto value = store.ReadBool(field.name);
    if (!value) return false;
    target.*std::get<bool S::*>(field.member) = *value;
    return true;
}

template <class S> void CopyField(const SettingField<S>& field, const S& from, S& to) {
    if (const auto* text = std::get_if<std::string S::*>(&field.member))
        AssignString(to.*(*text), from.*(*text));
    else
        std::visit([&](auto member) { to.*member = from.*member; }, field.member);
}

} // namespace detail

// Reads one group into target. Returns false when the group fell back.
template <class S>
bool ReadSettingGroup(SettingsStore& store, const SettingGroup<S>& group, S& target,
                      const S& defaults) {
    store.OpenKey(group.key, true);
    for (size_t i = 0; i < group.fields.size(); ++i) {
        const SettingField<S>& field = group.fields[i];
        if (field.writeOnly) {
            detail::CopyField(field, defaults, target);
            continue;
        }
        S read = target;
        if (detail::ReadField(store, field, read)) {
            detail::CopyField(field, read, target);
            continue;
        }
        if (group.fallback == GroupFallback::Defaults) {
            for (const SettingField<S>& f : group.fields)
                detail::CopyField(f, defaults, target);
        }
        return false;
    }
    return true;
}

template <class S>
void WriteSettingGroup(SettingsStore& store, const SettingGroup<S>& group, const S& source) {
    store.OpenKey(group.key, true);
    for (const SettingField<S>& field : group.fields) {
        std::visit(
            [&](auto member) {
                const auto& value = source.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    store.WriteString(field.name, value);
                else if constexpr (std::is_same_v<T, int32_t>)
                    store.WriteInteger(field.name, value);
                else
                    store.WriteBool(field.name, value);
            },
            field.member);
    }
}

template <class S>
void ReadSettingGroups(SettingsStore& store, std::span<const SettingGroup<S>> groups, S& target,
                       const S& defaults = S{}) {
    for (const SettingGroup<S>& group : groups)
        ReadSettingGroup(store, group, target, defaults);
}

template <class S>
void WriteSettingGroups(SettingsStore& store, std::span<const SettingGroup<S>> groups,
                        const S& source) {
    for (const SettingGroup<S>& group : groups)
        WriteSettingGroup(store, group, source);
}

} // namespace vespin
