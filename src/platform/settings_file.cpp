#include "platform/settings_file.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <string>
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

// Length of the well-formed UTF-8 sequence at the start of text, 0 when it is not one.
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead == 0xE0)
        length = 3, low = 0xA0; // no overlong forms
    else if (lead == 0xED)
        length = 3, high = 0x9F; // no surrogates
    else if (lead >= 0xE1 && lead <= 0xEF)
        length = 3;
    else if (lead == 0xF0)
        length = 4, low = 0x90; // no overlong forms
    else if (lead == 0xF4)
        length = 4, high = 0x8F; // nothing above U+10FFFF
    else if (lead >= 0xF1 && lead <= 0xF3)
        length = 4;
    else
        return 0;
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// A TOML basic string. TOML text must be UTF-8: a byte that is not part of a well-formed
// sequence (a file name from a non-UTF-8 file system, say) becomes U+FFFD, so that the file
// always parses again.
void AppendTomlString(std::string& out, std::string_view text) {
    out += '"';
    while (!text.empty()) {
        const char c = text[0];
        const size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += "\\uFFFD";
            text.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
            out += escape;
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    out += '"';
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
    std::string out;
    for (const auto& [path, values] : tree) {
        out += '[';
        AppendTomlString(out, path);
        out += "]\n";
        for (const auto& [name, value] : values) {
            AppendTomlString(out, name);
            out += " = ";
            if (const auto* number = std::get_if<int32_t>(&value))
                out += std::to_string(*number);
            else
                AppendTomlString(out, std::get<std::string>(value));
            out += '\n';
        }
        out += '\n';
    }
    return out;
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
