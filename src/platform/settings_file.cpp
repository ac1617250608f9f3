#include "platform/settings_file.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

#include <toml++/toml.h>

#include "media/file_utils.h"

namespace vespin {

namespace fs = std::filesystem;

namespace {

// Far more than any real settings file; a larger file is treated as damaged.
constexpr uintmax_t kMaxSettingsFileSize = 4u << 20;
// Keys nested deeper than this are not ours and are dropped rather than walked.
constexpr int kMaxKeyDepth = 16;

std::string JoinKey(std::string_view parent, std::string_view name) {
    return NormaliseKeyPath(std::string(parent) + '\\' + std::string(name));
}

void CollectKey(const toml::table& table, const std::string& path, int depth, SettingsTree& tree) {
    SettingValues& values = tree[path];
    for (const auto& [name, node] : table) {
        const std::string_view key = name.str();
        if (const auto* text = node.as_string()) {
            values.insert_or_assign(std::string(key), text->get());
        } else if (const auto* number = node.as_integer()) {
            const int64_t v = number->get();
            if (v >= INT32_MIN && v <= INT32_MAX)
                values.insert_or_assign(std::string(key), static_cast<int32_t>(v));
        } else if (const auto* flag = node.as_boolean()) {
            values.insert_or_assign(std::string(key), flag->get() ? 1 : 0);
        } else if (const auto* sub = node.as_table(); sub && depth < kMaxKeyDepth) {
            CollectKey(*sub, JoinKey(path, key), depth + 1, tree);
        }
    }
}

} // namespace

std::optional<SettingsTree> ParseSettingsToml(std::string_view text, std::string* error) {
    toml::table document;
    try {
        document = toml::parse(text);
    } catch (const toml::parse_error& e) {
        if (error) {
            std::ostringstream out;
            out << e.description() << " (line " << e.source().begin.line << ")";
            *error = out.str();
        }
        return std::nullopt;
    }
    SettingsTree tree;
    SettingValues rootValues;
    for (const auto& [name, node] : document) {
        if (const auto* table = node.as_table()) {
            CollectKey(*table, NormaliseKeyPath(name.str()), 1, tree);
        } else {
            toml::table single;
            single.insert(name, node);
            CollectKey(single, "", kMaxKeyDepth, tree);
        }
    }
    return tree;
}

std::string FormatSettingsToml(const SettingsTree& tree) {
    toml::table document;
    for (const auto& [path, values] : tree) {
        toml::table key;
        for (const auto& [name, value] : values) {
            if (const auto* number = std::get_if<int32_t>(&value))
                key.insert_or_assign(name, static_cast<int64_t>(*number));
            else
                key.insert_or_assign(name, std::get<std::string>(value));
        }
        document.insert_or_assign(path, std::move(key));
    }
    std::ostringstream out;
    out << toml::toml_formatter(document, toml::toml_formatter::default_flags &
                                              ~toml::format_flags::allow_literal_strings);
    out << '\n';
    return out.str();
}

fs::path DefaultSettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".config";
    }
    return base / "vespin" / "settings.toml";
}

SettingsFileStatus SettingsFile::Load() {
    message_.clear();
    ReplaceTree({});
    std::error_code ec;
    if (!fs::exists(path_, ec)) return SettingsFileStatus::Missing;

    std::string problem;
    std::optional<SettingsTree> tree;
    const auto bytes = ReadWholeFile(path_, kMaxSettingsFileSize);
    if (!bytes) {
        problem = "it cannot be read or is too large";
    } else {
        tree = ParseSettingsToml(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
            &problem);
    }
    if (tree) {
        ReplaceTree(std::move(*tree));
        return SettingsFileStatus::Loaded;
    }
    fs::path aside = path_;
    aside += ".bad";
    fs::rename(path_, aside, ec);
    message_ = "The settings file " + path_.string() + " is damaged (" + problem + "). ";
    message_ += ec ? "Default settings are used."
                   : "It was kept as " + aside.string() + " and default settings are used.";
    return SettingsFileStatus::Damaged;
}

std::optional<fs::path> SettingsFile::WriteTemporary() const {
    std::error_code ec;
    if (path_.has_parent_path()) fs::create_directories(path_.parent_path(), ec);
    fs::path temporary = path_;
    temporary += ".tmp";
    const std::string text = FormatSettingsToml(Tree());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return std::nullopt;
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    // The data must be on disk before the rename makes it the settings file.
    const bool ok = written == text.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok) {
        fs::remove(temporary, ec);
        return std::nullopt;
    }
    return temporary;
}

bool SettingsFile::ReplaceWith(const fs::path& temporary) const {
    std::error_code ec;
    fs::rename(temporary, path_, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool SettingsFile::Save() const {
    const auto temporary = WriteTemporary();
    return temporary && ReplaceWith(*temporary);
}

} // namespace vespin
