#include "core/settings/ProfileFile.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tarwick {
namespace {

TEST(ProfileFile, ReadsAsWindowsDoes) {
    const ProfileFile file = ProfileFile::fromBytes("orphan=before any section\r\n"
                                                    "[Settings]\r\n"
                                                    "plain=1\r\n"
                                                    "  spaced  =   two words  \t\r\n"
                                                    "MixedCase=yes\r\n"
                                                    "quoted=\"q v\"\r\n"
                                                    "single='s'\r\n"
                                                    "half=\"open\r\n"
                                                    "mismatch=\"a'\r\n"
                                                    "onequote=\"\r\n"
                                                    "inner=a\"b\"c\r\n"
                                                    "empty=\r\n"
                                                    "dup=first\r\n"
                                                    "dup=second\r\n"
                                                    "; comment=not a key\r\n"
                                                    "no equals sign\r\n"
                                                    "equals=a=b\r\n"
                                                    "high=caf\xE9\xFF\r\n"
                                                    "[ Other ]\n"
                                                    "lf=only\n"
                                                    "[settings]\r\n"
                                                    "plain=second section\r\n"
                                                    "last=no line end");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"Settings", "plain", "1"},
        {"SETTINGS", "PLAIN", "1"},
        {" Settings ", " plain ", "1"},
        {"Settings", "spaced", "two words"},
        {"Settings", "mixedcase", "yes"},
        {"Settings", "quoted", "q v"},
        {"Settings", "single", "s"},
        {"Settings", "half", "\"open"},
        {"Settings", "mismatch", "\"a'"},
        {"Settings", "onequote", "\""},
        {"Settings", "inner", "a\"b\"c"},
        {"Settings", "empty", ""},
        {"Settings", "dup", "first"},
        {"Settings", "; comment", std::nullopt},
        {"Settings", "no equals sign", std::nullopt},
        {"Settings", "equals", "a=b"},
        {"Settings", "high", "caf\xE9\xFF"},
        {"Settings", "orphan", std::nullopt},
        {"Settings", "missing", std::nullopt},
        {"Other", "lf", "only"},
        {"Missing", "plain", std::nullopt},
        // A repeated section is not searched: the first of equal names wins.
        {"Settings", "last", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(file.value(c.section, c.key), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(file.valueOr("Settings", "missing", "fallback"), "fallback");
    EXPECT_EQ(file.valueOr("Settings", "empty", "fallback"), "");
}

TEST(ProfileFile, UnchangedFileComesBackByteForByte) {
    const std::string bytes = "; written by hand\r\n"
                              "\r\n"
                              "[Settings]\r\n"
                              "  external_app = 2 \r\n"
                              "Unknown=kept\n"
                              "\r\n"
                              "[Mine]\r\n"
                              "x=\"y\"\r\n"
                              "caf\xE9=\xE9t\xE9\r\n"
                              "  \r\n"
                              "tail without line end";
    ProfileFile file = ProfileFile::fromBytes(bytes);
    EXPECT_EQ(file.toBytes(), bytes);
    // Writing the values they already hold changes nothing either.
    EXPECT_TRUE(file.write("settings", "EXTERNAL_APP", "2"));
    EXPECT_TRUE(file.write("Mine", "x", "y"));
    EXPECT_TRUE(file.write("Missing", "gone", std::nullopt));
    EXPECT_TRUE(file.write("Mine", "gone", std::nullopt));
    EXPECT_EQ(file.toBytes(), bytes);
}

struct Write {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

struct WriteCase {
    const char* what;
    std::string before;
    std::vector<Write> writes;
    std::string after;
};

TEST(ProfileFile, WritesAsWindowsDoes) {
    const WriteCase cases[] = {
        {"into an empty file",
         "",
         {{"Settings", "a", "1"}, {"Settings", "b", "2"}},
         "[Settings]\r\na=1\r\nb=2\r\n"},
        {"a changed key keeps its place and its spelling",
         "[S]\r\nFirst=1\r\n  Second = 2 \r\nThird=3\r\n",
         {{"s", "SECOND", "two"}},
         "[S]\r\nFirst=1\r\nSecond=two\r\nThird=3\r\n"},
        {"a new key goes to the end of its section, before the blank lines",
         "[S]\r\na=1\r\n\r\n[T]\r\nx=1\r\n",
         {{"S", "b", "2"}},
         "[S]\r\na=1\r\nb=2\r\n\r\n[T]\r\nx=1\r\n"},
        {"a new key goes after a trailing comment of its section",
         "[S]\r\na=1\r\n;note\r\n[T]\r\n",
         {{"S", "b", "2"}},
         "[S]\r\na=1\r\n;note\r\nb=2\r\n[T]\r\n"},
        {"a new section goes to the end of the file",
         "[S]\r\na=1\r\n",
         {{"T", "k", "v"}, {"S", "b", "2"}},
         "[S]\r\na=1\r\nb=2\r\n[T]\r\nk=v\r\n"},
        {"an unterminated last line is ended first (new key)",
         "[S]\r\na=1",
         {{"S", "b", "2"}},
         "[S]\r\na=1\r\nb=2\r\n"},
        {"an unterminated last line is ended first (new section)",
         "[S]\r\na=1",
         {{"T", "b", "2"}},
         "[S]\r\na=1\r\n[T]\r\nb=2\r\n"},
        {"an unterminated section header", "[S]", {{"S", "b", "2"}}, "[S]\r\nb=2\r\n"},
        {"a changed last line keeps having no line end",
         "[S]\r\na=1",
         {{"S", "a", "9"}},
         "[S]\r\na=9"},
        {"LF-only lines keep their ends",
         "[S]\na=1\nb=2\n",
         {{"S", "a", "3"}, {"S", "c", "4"}},
         "[S]\na=3\nb=2\nc=4\r\n"},
        {"no value removes the key",
         "[S]\r\na=1\r\nb=2\r\nc=3\r\n",
         {{"S", "B", std::nullopt}},
         "[S]\r\na=1\r\nc=3\r\n"},
        {"removing removes every copy of the key",
         "[S]\r\nb=1\r\na=1\r\nB=2\r\n",
         {{"S", "b", std::nullopt}},
         "[S]\r\na=1\r\n"},
        {"removing the unterminated last line",
         "[S]\r\na=1\r\nb=2",
         {{"S", "b", std::nullopt}},
         "[S]\r\na=1\r\n"},
        {"a removed key written again goes to the end",
         "[S]\r\na=1\r\nb=2\r\n",
         {{"S", "a", std::nullopt}, {"S", "a", "3"}},
         "[S]\r\nb=2\r\na=3\r\n"},
        {"an emptied section keeps its header",
         "[S]\r\na=1\r\n[T]\r\n",
         {{"S", "a", std::nullopt}},
         "[S]\r\n[T]\r\n"},
        {"unknown keys, comments and blank lines stay",
         "; top\r\n[S]\r\nother=x\r\n\r\n; mid\r\n[U]\r\nz=1\r\n",
         {{"S", "a", "1"}},
         "; top\r\n[S]\r\nother=x\r\n\r\n; mid\r\na=1\r\n[U]\r\nz=1\r\n"},
        {"an empty value is written as such",
         "",
         {{"S", "btc_reward", ""}},
         "[S]\r\nbtc_reward=\r\n"},
        {"single-byte text passes through",
         "",
         {{"S", "k", "\xE9\xA3\x80"}},
         "[S]\r\nk=\xE9\xA3\x80\r\n"},
        {"outer blanks are kept by quoting",
         "",
         {{"S", "k", "5Kkey  "}, {"S", "j", " x"}},
         "[S]\r\nk=\"5Kkey  \"\r\nj=\" x\"\r\n"},
        {"outer matching quotes are kept by quoting",
         "",
         {{"S", "k", "\"q\""}, {"S", "j", "'a'"}, {"S", "m", "\"a'"}},
         "[S]\r\nk=\"\"q\"\"\r\nj=\"'a'\"\r\nm=\"a'\r\n"},
    };
    for (const WriteCase& c : cases) {
        ProfileFile file = ProfileFile::fromBytes(c.before);
        for (const Write& w : c.writes) {
            const auto value = w.value ? std::optional<std::string_view>(*w.value) : std::nullopt;
            EXPECT_TRUE(file.write(w.section, w.key, value)) << c.what;
        }
        EXPECT_EQ(file.toBytes(), c.after) << c.what;
        // What was written reads back as it was given.
        const ProfileFile reread = ProfileFile::fromBytes(file.toBytes());
        const Write& last = c.writes.back();
        EXPECT_EQ(reread.value(last.section, last.key), last.value) << c.what;
    }
}

TEST(ProfileFile, RefusesWhatALineCannotHold) {
    const std::string bytes = "[S]\r\na=1\r\n";
    const Write refused[] = {
        {"S", "a", "two\r\nlines"}, {"S", "a", "lf\nonly"}, {"S", "a", std::string("n\0l", 3)},
        {"S", "k=v", "1"},          {"S", "", "1"},         {"S", "[T]", "1"},
        {"S", ";c", "1"},           {"", "a", "1"},         {"S]", "a", "1"},
        {"S\r\n[T", "a", "1"},
    };
    for (const Write& w : refused) {
        ProfileFile file = ProfileFile::fromBytes(bytes);
        EXPECT_FALSE(file.write(w.section, w.key, *w.value)) << w.section << "/" << w.key;
        EXPECT_EQ(file.toBytes(), bytes);
    }
}

TEST(ProfileFile, ListsKeysInFileOrderAsSpelled) {
    ProfileFile file = ProfileFile::fromBytes("[S]\r\nB=1\r\n;c=2\r\n a =3\r\n[T]\r\nx=1\r\n");
    file.write("S", "b", std::nullopt);
    file.write("S", "new", "4");
    EXPECT_EQ(file.keys("s"), (std::vector<std::string>{"a", "new"}));
    EXPECT_TRUE(file.keys("none").empty());
}

} // namespace
} // namespace tarwick
