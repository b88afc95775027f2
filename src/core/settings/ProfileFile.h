#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarwick {

// A Windows profile (INI) file with the semantics of Get/WritePrivateProfileStringA that
// Settings.ini relies on, held in memory as the file's own lines so that whatever is not
// changed is written back byte for byte:
// - sections and keys are found case-insensitively (ASCII), the first of equal names wins;
// - blanks around names and values are dropped on reading, and one pair of matching quotes
//   ('"' or '\'') around a value is stripped;
// - a changed key keeps its place and its spelling, a new key goes after the last non-blank
//   line of its section, a new section to the end of the file, new lines end in CR LF;
// - writing no value removes the key; unknown sections, keys, comments and blank lines stay.
// Bytes above 0x7F pass through untouched.
class ProfileFile {
public:
    static ProfileFile fromBytes(std::string_view bytes);
    std::string toBytes() const;

    // The value as GetPrivateProfileStringA gives it, or nothing when the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string valueOr(std::string_view section, std::string_view key,
                        std::string_view fallback) const;

    // WritePrivateProfileStringA: sets the value, or removes the key when value is nothing.
    // A value that the reader would alter (outer blanks, outer matching quotes) is written in
    // an extra pair of quotes, so it reads back unchanged here and in the original program.
    // False, and nothing changed, for a name or value that a profile line cannot hold (line
    // breaks, NUL, '=' in a key, ']' in a section name, empty names).
    bool write(std::string_view section, std::string_view key,
               std::optional<std::string_view> value);

    // Key names of the section in file order, as spelled in the file.
    std::vector<std::string> keys(std::string_view section) const;

private:
    struct Line {
        std::string text;   // without its line end
        std::string ending; // "\r\n", "\n" or "" for an unterminated last line
        bool removed = false;
    };
    struct Section {
        Line header;
        std::vector<Line> body;                             // up to the last non-blank line
        std::vector<Line> tail;                             // blank lines before the next section
        std::unordered_map<std::string, std::size_t> index; // lower-case key -> first line
        bool duplicates = false;                            // some key stands more than once
    };

    const Section* find(std::string_view section) const;
    Section& findOrAdd(std::string_view section);
    void terminateLastLine();
    static void indexLine(Section& section, std::size_t at);

    std::vector<Line> preamble_; // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // lower-case name
};

} // namespace tarwick
