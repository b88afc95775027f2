#include "core/settings/ProfileFile.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tarwick {
namespace {

using Row = std::tuple<const char*, const char*, std::optional<std::string>>;

TEST(ProfileFile, ReadsAsWindowsDoes) {
    const ProfileFile file = ProfileFile::fromBytes(
        "orphan=before any section\r\n[Settings]\r\nplain=1\r\n  spaced  =   two words  \t\r\n"
        "quoted=\"q v\"\r\nsingle='s'\r\nhalf=\"open\r\nonequote=\"\r\nempty=\r\ndup=first\r\n"
        "dup=second\r\n; comment=not a key\r\nno equals sign\r\nequals=a=b\r\nhigh=caf\xE9\xFF\r\n"
        "[ Other ]\nlf=only\n[settings]\r\nlast=no line end");
    // The last key is in a repeated section, which is not searched.
    for (const auto& [section, key, expected] : {Row{"SETTINGS", "PLAIN", "1"},
                                                 {" Settings ", " plain ", "1"},
                                                 {"Settings", "spaced", "two words"},
                                                 {"Settings", "quoted", "q v"},
                                                 {"Settings", "single", "s"},
                                                 {"Settings", "half", "\"open"},
                                                 {"Settings", "onequote", "\""},
                                                 {"Settings", "empty", ""},
                                                 {"Settings", "dup", "first"},
                                                 {"Settings", "; comment", {}},
                                                 {"Settings", "no equals sign", {}},
                                                 {"Settings", "equals", "a=b"},
                                                 {"Settings", "high", "caf\xE9\xFF"},
                                                 {"Settings", "orphan", {}},
                                                 {"Other", "lf", "only"},
                                                 {"Missing", "plain", {}},
                                                 {"Settings", "last", {}}}) {
        EXPECT_EQ(file.value(section, key), expected) << section << "/" << key;
    }
    EXPECT_EQ(file.valueOr("Settings", "missing", "fallback"), "fallback");
    EXPECT_EQ(file.valueOr("Settings", "empty", "fallback"), "");
}

struct Write {
    std::string section, key;
    std::optional<std::string> value;
};

TEST(ProfileFile, WritesAsWindowsDoes) {
    const std::tuple<std::string, std::vector<Write>, std::string> cases[] = {
        {"",
         {{"S", "a", "1"}, {"S", "e", ""}, {"S", "k", "\xE9\xA3\x80"}},
         "[S]\r\na=1\r\ne=\r\nk=\xE9\xA3\x80\r\n"},
        // Removing what is not there changes nothing, byte for byte.
        {"[S]\r\n\r\na=1\n", {{"Missing", "gone", {}}, {"S", "gone", {}}}, "[S]\r\n\r\na=1\n"},
        // A new key goes after the section's last comment, before its blank lines.
        {"[S]\r\na=1\r\n;note\r\n\r\n[T]\r\n",
         {{"S", "b", "2"}},
         "[S]\r\na=1\r\n;note\r\nb=2\r\n\r\n[T]\r\n"},
        // An unterminated last line is ended first; a new section goes to the end of the file.
        {"[S]\r\na=1", {{"T", "k", "v"}, {"S", "b", "2"}}, "[S]\r\na=1\r\nb=2\r\n[T]\r\nk=v\r\n"},
        {"[S]", {{"S", "b", "2"}}, "[S]\r\nb=2\r\n"},
        {"[S]\r\na=1", {{"S", "a", "9"}}, "[S]\r\na=9"},
        {"[S]\na=1\nb=2\n", {{"s", "A", "3"}, {"S", "c", "4"}}, "[S]\na=3\nb=2\nc=4\r\n"},
        // No value removes every copy of the key, an unterminated last line too.
        {"[S]\r\nb=1\r\na=1\r\nB=2", {{"S", "b", {}}}, "[S]\r\na=1\r\n"},
        {"[S]\r\na=1\r\n[T]\r\n", {{"S", "a", {}}}, "[S]\r\n[T]\r\n"},
        {"[S]\r\na=1\r\nb=2\r\n", {{"S", "a", {}}, {"S", "a", "3"}}, "[S]\r\nb=2\r\na=3\r\n"},
        // Outer blanks and outer matching quotes are kept by quoting.
        {"",
         {{"S", "k", "5Kkey  "},
          {"S", "j", " x"},
          {"S", "q", "\"q\""},
          {"S", "s", "'a'"},
          {"S", "m", "\"a'"}},
         "[S]\r\nk=\"5Kkey  \"\r\nj=\" x\"\r\nq=\"\"q\"\"\r\ns=\"'a'\"\r\nm=\"a'\r\n"}};
    for (const auto& [before, writes, after] : cases) {
        ProfileFile file = ProfileFile::fromBytes(before);
        for (const Write& w : writes) {
            EXPECT_TRUE(
                file.write(w.section, w.key,
                           w.value ? std::optional<std::string_view>(*w.value) : std::nullopt));
        }
        EXPECT_EQ(file.toBytes(), after) << before;
    }
}

TEST(ProfileFile, RefusesWhatALineCannotHold) {
    const Write refused[] = {
        {"S", "a", "cr\ronly"}, {"S", "a", "lf\nonly"}, {"S", "a", std::string("n\0l", 3)},
        {"S", "k=v", "1"},      {"S", "", "1"},         {"S", "[T]", "1"},
        {"S", ";c", "1"},       {"", "a", "1"},         {"S]", "a", "1"},
        {"S\r\n[T", "a", "1"}};
    for (const Write& w : refused) {
        ProfileFile file = ProfileFile::fromBytes("[S]\r\na=1\r\n");
        EXPECT_FALSE(file.write(w.section, w.key, *w.value)) << w.section << "/" << w.key;
        EXPECT_EQ(file.toBytes(), "[S]\r\na=1\r\n");
    }
}

} // namespace
} // namespace tarwick
