#include "core/settings/ProfileFile.h"

#include <algorithm>

namespace tarwick {
namespace {

// Windows counts CR and the DOS end-of-file mark as blanks beside the C library's spaces.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

bool quotedPair(std::string_view value) {
    return value.size() >= 2 && isQuote(value.front()) && value.front() == value.back();
}

std::string_view stripQuotes(std::string_view value) {
    return quotedPair(value) ? value.substr(1, value.size() - 2) : value;
}

// A section header: the name between '[' and the last ']' (or the end of the line).
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view text = trim(line);
    if (!text.starts_with('[')) {
        return std::nullopt;
    }
    std::string_view name = text.substr(1);
    const std::size_t close = name.rfind(']');
    if (close != std::string_view::npos) {
        name = name.substr(0, close);
    }
    return trim(name);
}

struct KeyLine {
    std::string_view name;
    std::string_view rawValue; // trimmed, quotes still on
};

std::optional<KeyLine> keyLine(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == ';') {
        return std::nullopt;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = trim(text.substr(0, equals));
    if (name.empty()) {
        return std::nullopt;
    }
    return KeyLine{name, trim(text.substr(equals + 1))};
}

bool holdsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string encodeValue(std::string_view value) {
    const bool altered = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    if (altered || quotedPair(value)) {
        return std::string(1, '"').append(value).append(1, '"');
    }
    return std::string(value);
}

} // namespace

ProfileFile ProfileFile::fromBytes(std::string_view bytes) {
    ProfileFile file;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t feed = bytes.find('\n', start);
        const std::size_t end = feed == std::string_view::npos ? bytes.size() : feed;
        std::string_view text = bytes.substr(start, end - start);
        std::string_view ending;
        if (feed != std::string_view::npos) {
            const bool crlf = text.ends_with('\r');
            if (crlf) {
                text.remove_suffix(1);
            }
            ending = crlf ? "\r\n" : "\n";
        }
        start = feed == std::string_view::npos ? bytes.size() : feed + 1;
        Line line{std::string(text), std::string(ending)};

        if (const auto name = sectionName(line.text)) {
            file.sectionIndex_.try_emplace(lower(*name), file.sections_.size());
            file.sections_.push_back(Section{std::move(line), {}, {}, {}});
            continue;
        }
        if (file.sections_.empty()) {
            file.preamble_.push_back(std::move(line));
            continue;
        }
        Section& section = file.sections_.back();
        if (trim(line.text).empty()) {
            section.tail.push_back(std::move(line));
            continue;
        }
        // A non-blank line: the blank lines before it belong to the body after all.
        for (Line& blank : section.tail) {
            section.body.push_back(std::move(blank));
        }
        section.tail.clear();
        section.body.push_back(std::move(line));
        indexLine(section, section.body.size() - 1);
    }
    return file;
}

void ProfileFile::indexLine(Section& section, std::size_t at) {
    if (const auto key = keyLine(section.body[at].text)) {
        if (!section.index.try_emplace(lower(key->name), at).second) {
            section.duplicates = true;
        }
    }
}

std::string ProfileFile::toBytes() const {
    std::string out;
    const auto put = [&out](const Line& line) {
        if (!line.removed) {
            out.append(line.text).append(line.ending);
        }
    };
    std::for_each(preamble_.begin(), preamble_.end(), put);
    for (const Section& section : sections_) {
        put(section.header);
        std::for_each(section.body.begin(), section.body.end(), put);
        std::for_each(section.tail.begin(), section.tail.end(), put);
    }
    return out;
}

const ProfileFile::Section* ProfileFile::find(std::string_view section) const {
    const auto found = sectionIndex_.find(lower(trim(section)));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string> ProfileFile::value(std::string_view section,
                                              std::string_view key) const {
    const Section* in = find(section);
    if (!in) {
        return std::nullopt;
    }
    const auto found = in->index.find(lower(trim(key)));
    if (found == in->index.end()) {
        return std::nullopt;
    }
    return std::string(stripQuotes(keyLine(in->body[found->second].text)->rawValue));
}

std::string ProfileFile::valueOr(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    return value(section, key).value_or(std::string(fallback));
}

std::vector<std::string> ProfileFile::keys(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* in = find(section)) {
        for (const Line& line : in->body) {
            if (!line.removed) {
                if (const auto key = keyLine(line.text)) {
                    names.emplace_back(key->name);
                }
            }
        }
    }
    return names;
}

// Whatever is appended after the file's current last line needs that line ended first.
void ProfileFile::terminateLastLine() {
    Line* last = nullptr;
    const auto consider = [&last](Line& line) {
        if (!line.removed) {
            last = &line;
        }
    };
    std::for_each(preamble_.begin(), preamble_.end(), consider);
    for (Section& section : sections_) {
        consider(section.header);
        std::for_each(section.body.begin(), section.body.end(), consider);
        std::for_each(section.tail.begin(), section.tail.end(), consider);
    }
    if (last && last->ending.empty()) {
        last->ending = "\r\n";
    }
}

ProfileFile::Section& ProfileFile::findOrAdd(std::string_view section) {
    const std::string name(trim(section));
    const auto found = sectionIndex_.find(lower(name));
    if (found != sectionIndex_.end()) {
        return sections_[found->second];
    }
    terminateLastLine();
    sectionIndex_.emplace(lower(name), sections_.size());
    sections_.push_back(
        Section{Line{std::string(1, '[').append(name).append(1, ']'), "\r\n"}, {}, {}, {}});
    return sections_.back();
}

bool ProfileFile::write(std::string_view section, std::string_view key,
                        std::optional<std::string_view> value) {
    const std::string_view sectionText = trim(section);
    const std::string_view keyText = trim(key);
    if (sectionText.empty() || holdsLineBreakOrNul(sectionText) ||
        sectionText.find(']') != std::string_view::npos || keyText.empty() ||
        holdsLineBreakOrNul(keyText) || keyText.find('=') != std::string_view::npos ||
        keyText.front() == '[' || keyText.front() == ';' ||
        (value && holdsLineBreakOrNul(*value))) {
        return false;
    }

    if (!value) {
        const auto found = sectionIndex_.find(lower(sectionText));
        if (found == sectionIndex_.end()) {
            return true;
        }
        Section& in = sections_[found->second];
        const std::string name = lower(keyText);
        const auto entry = in.index.find(name);
        if (entry == in.index.end()) {
            return true;
        }
        in.body[entry->second].removed = true;
        in.index.erase(entry);
        // Every copy goes, or an older duplicate would come back on the next read.
        if (in.duplicates) {
            for (Line& line : in.body) {
                if (const auto other = keyLine(line.text); other && lower(other->name) == name) {
                    line.removed = true;
                }
            }
        }
        return true;
    }

    Section& in = findOrAdd(sectionText);
    if (const auto entry = in.index.find(lower(keyText)); entry != in.index.end()) {
        Line& line = in.body[entry->second];
        const KeyLine current = *keyLine(line.text);
        if (stripQuotes(current.rawValue) != *value) {
            line.text = std::string(current.name) + "=" + encodeValue(*value);
        }
        return true;
    }
    if (in.tail.empty()) {
        // The section ends the file: its last line may lack a line end.
        Line* last = &in.header;
        for (auto line = in.body.rbegin(); line != in.body.rend(); ++line) {
            if (!line->removed) {
                last = &*line;
                break;
            }
        }
        if (last->ending.empty()) {
            last->ending = "\r\n";
        }
    }
    in.body.push_back(Line{std::string(keyText) + "=" + encodeValue(*value), "\r\n"});
    indexLine(in, in.body.size() - 1);
    return true;
}

} // namespace tarwick
