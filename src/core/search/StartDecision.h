#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarwick {

// What the form holds when " Start search" is pressed (or a paused search resumes).
struct StartInputs {
    bool patternsFromBox = false;
    bool patternsFromFile = false;
    std::string boxText;          // the patterns box as it stands
    std::string patternsFilePath; // the user's patterns file (file source)
    std::string externalApp;      // the selected generator's display text
    std::string rewardAddress;    // the reward address box as it stands
};

enum class StartOutcome {
    Go,           // start the run with patternCount
    ConsoleError, // append message to the console in red, followed by a line break
    MessageBox,   // show message in a box with the question icon and an OK button
};

struct StartDecision {
    StartOutcome outcome = StartOutcome::Go;
    std::string message;
    int patternCount = 0;
    // Box source only: the bytes "vanitygen//patterns.txt" must hold for this run.
    std::optional<std::string> patternsFileBytes;
    // The patterns the run searches (box or file source), one per counted line.
    std::vector<std::string> patterns;
};

// The checks of a start, in their order. Reads the user's patterns file (relative paths from
// workDir); writes nothing.
StartDecision decideStart(const StartInputs& inputs, const std::filesystem::path& workDir);

// decideStart, then writing "vanitygen//patterns.txt" under workDir for the box source. A file
// that cannot be written turns into a console error: the generator would otherwise search the
// patterns of an earlier run.
StartDecision prepareStart(const StartInputs& inputs, const std::filesystem::path& workDir);

// The box's text plus one end-of-line in the box's own style (CR LF when it uses CR LF).
std::string patternsFileText(const std::string& trimmedBoxText);

// Replaces the file with the bytes as they are (atomically, owner-only, a link at its place
// replaced rather than followed); false when the file could not be written whole.
bool writePatternsFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace tarwick
