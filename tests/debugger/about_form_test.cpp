#include "debugger/about_form.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vespin {
namespace {

namespace fs = std::filesystem;

TEST(AboutForm, HistoryFromTheStartUpDirectory) {
    const fs::path dir = fs::temp_directory_path() / "vespin_about_test";
    fs::create_directories(dir / "start");
    std::ofstream(dir / "start" / TAboutForm::kHistoryFile) << "0.27b: first line\n";
    const FileSearchDirs dirs{dir / "start", dir / "program"};
    TAboutForm about(dirs, 150);
    EXPECT_EQ(about.History(), "0.27b: first line\n");
    about.ToggleHistory();
    EXPECT_EQ(about.Height(), 350);
    about.ToggleHistory();
    EXPECT_EQ(about.Height(), 150);
    about.ToggleHistory();
    about.Ok(); // collapses an expanded window first
    EXPECT_EQ(about.Height(), 150);
    fs::remove_all(dir);
}

TEST(AboutForm, MissingHistoryFile) {
    const fs::path nowhere = fs::temp_directory_path() / "vespin_about_missing";
    const TAboutForm about({nowhere, nowhere}, 150);
    EXPECT_EQ(about.History(), "Sorry! Can't found history file 'Vespin.History.txt'.");
}

} // namespace
} // namespace vespin
