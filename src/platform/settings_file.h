// The settings store kept in one TOML file. Each key path is one table named by the whole
// path ("Hardware\\Keyboard"); values keep their type: strings, and integers for integers and
// booleans (0 or 1), so a value of the wrong type is seen as mistyped and its group falls back.
//
// Saving writes a temporary file beside the settings file, flushes it to disk and renames it
// over the old one, so a crash at any moment leaves either the old file or the new one. A file
// that cannot be parsed is moved aside as "<name>.bad" and the program starts from defaults.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "config/memory_settings_store.h"

namespace vespin {

// The tree a TOML text describes; nullopt with a message in error when it does not parse.
// Tables nested inside a key's table are its sub-keys; booleans read as 0 and 1; values that
// are neither strings nor 32-bit integers are left out (they read as missing).
std::optional<SettingsTree> ParseSettingsToml(std::string_view text, std::string* error);
std::string FormatSettingsToml(const SettingsTree& tree);

// $XDG_CONFIG_HOME/vespin/settings.toml, else ~/.config/vespin/settings.toml.
std::filesystem::path DefaultSettingsPath();

enum class SettingsFileStatus : uint8_t { Loaded, Missing, Damaged };

class SettingsFile : public MemorySettingsStore {
  public:
    explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

    // Reads the file. A damaged file is renamed to "<name>.bad" and the store is left empty,
    // so every group comes up with its defaults; Message() then says what happened.
    SettingsFileStatus Load();
    // Writes the whole store atomically. False when any step failed (the old file is intact).
    bool Save() const;

    const std::filesystem::path& Path() const { return path_; }
    const std::string& Message() const { return message_; }

    // The two steps of Save, apart so that a test can stop between them: the temporary file
    // with the new contents, then the rename over the settings file.
    std::optional<std::filesystem::path> WriteTemporary() const;
    bool ReplaceWith(const std::filesystem::path& temporary) const;

  private:
    std::filesystem::path path_;
    std::string message_;
};

} // namespace vespin
