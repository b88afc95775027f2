#include "core/form/ChoiceLists.h"
#include "core/layout/DialogUnits.h"
#include "core/workdir/WorkingFolder.h"
#include "search/TempFolder.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::writeBytes;

TEST(WorkingFolder, ChoosesAndPreparesTheFolder) {
    // --workdir, whether the start folder holds vanitygen/, $XDG_DATA_HOME, $HOME, and the folder
    // chosen or the start of the error; paths relative to the start or the temporary folder.
    for (const auto& [requested, portable, dataHome, home, expected] :
         {std::tuple{"mine", true, "data", "home", "start/mine"},
          {"", true, "data", "home", "start"},
          {"", false, "data", "home", "data/Tarwick"},
          {"", false, "", "home", "home/.local/share/Tarwick"},
          {"", false, "", "", "No working folder"},
          {"../libexec/vanitygen64.exe", false, "", "", "Cannot prepare"}}) {
        SCOPED_TRACE(expected);
        testing::TempFolder temp;
        for (const char* name : {"vanitygen64.exe", "oclvanitygen.exe", "oclvanityminer64.exe"}) {
            writeBytes(temp / "libexec" / name, name);
        }
        fs::create_directories(temp / "start" / (portable ? "vanitygen" : ""));
        const auto under = [&](const char* p) { return *p ? (temp / p).string() : std::string(); };
        const WorkingFolder chosen = chooseWorkingFolder(
            {requested, temp / "start", under(dataHome), under(home), temp / "libexec"});
        if (!chosen.error.empty()) {
            EXPECT_TRUE(chosen.error.starts_with(expected)) << chosen.error;
            continue;
        }
        EXPECT_EQ(chosen.path.lexically_normal(), (temp / expected).lexically_normal());
        // A portable start folder is used as it is; any other is made 0700 with Data/ and links.
        const bool prepared = expected != std::string("start");
        EXPECT_EQ(fs::exists(chosen.path / "Data"), prepared);
        if (prepared) {
            EXPECT_EQ(testing::modeOf(chosen.path), 0700u);
            EXPECT_EQ(readBytes(chosen.path / "vanitygen" / "oclvanitygen.exe"),
                      "oclvanitygen.exe");
        }
    }
}

// A generator the user put in place of a link (or a link of their own, even a broken one)
// survives every start; only what is missing is linked.
TEST(WorkingFolder, KeepsWhatTheUserPutThere) {
    testing::TempFolder temp;
    writeBytes(temp / "libexec" / "vanitygen64.exe", "installed");
    writeBytes(temp / "libexec" / "oclvanitygen.exe", "installed");
    const fs::path mine = temp / "data" / "Tarwick" / "vanitygen";
    writeBytes(mine / "vanitygen64.exe", "users own");
    fs::create_symlink(temp / "gone", mine / "oclvanitygen.exe");
    const WorkingFolder chosen =
        chooseWorkingFolder({"", temp / "start", (temp / "data").string(), "", temp / "libexec"});
    ASSERT_EQ(chosen.error, "");
    EXPECT_EQ(readBytes(mine / "vanitygen64.exe"), "users own");
    EXPECT_EQ(fs::read_symlink(mine / "oclvanitygen.exe"), temp / "gone");
    EXPECT_FALSE(fs::exists(fs::symlink_status(mine / "oclvanityminer64.exe")));
}

TEST(ChoiceLists, ItemsAndTheFallbackOfAStoredIndex) {
    EXPECT_TRUE(cpuThreadItems(-3).empty());
    for (const auto& [stored, count, expected] :
         {std::tuple{2, 3, 2}, {3, 3, 0}, {-1, 24, 0}, {-2147483647 - 1, 24, 0}, {5, 0, -1}}) {
        EXPECT_EQ(selectableIndex(stored, count), expected) << stored << "/" << count;
    }
}

TEST(DialogUnits, RoundingOfBaseUnitsAndRects) {
    // 52 letters 286 px wide: 11 per pair of letters, so 5.5 rounds up to 6; 285 px gives 5.
    EXPECT_EQ(baseUnitsFromFont(286, 13).averageCharWidth, 6);
    EXPECT_EQ(baseUnitsFromFont(285, 13).averageCharWidth, 5);
    EXPECT_EQ(baseUnitsFromFont(364, 16).charHeight, 16);
    const std::tuple<int, int, int, int> products[] = {
        {7, 6, 4, 11},  {5, 1, 2, 3}, {-5, 1, 2, -3},
        {5, -1, 2, -3}, {3, 4, 0, 0}, {2'000'000'000, 3, 4, 1'500'000'000}};
    for (const auto& [a, b, c, expected] : products) {
        EXPECT_EQ(mulDivRounded(a, b, c), expected) << a << "*" << b << "/" << c;
    }
    const DialogBaseUnits base{7, 16};
    EXPECT_EQ(dialogRectToPixels(7, 192, 283, 86, base), (PixelRect{12, 384, 496, 172}));
    // Right edge equals the left edge of a control that starts where this one ends.
    const PixelRect left = dialogRectToPixels(9, 174, 40, 12, base);
    EXPECT_EQ(left.x + left.width, dialogRectToPixels(49, 174, 10, 12, base).x);
}

} // namespace
} // namespace tarwick
