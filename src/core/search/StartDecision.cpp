#include "core/search/StartDecision.h"

#include "core/files/FileBytes.h"
#include "core/found/PrivateFile.h"
#include "core/found/SearchedPatterns.h"
#include "core/search/GeneratorNames.h"
#include "core/search/PatternText.h"
#include "core/search/StartMessages.h"

#include <algorithm>

namespace tarwick {
namespace {

StartDecision consoleError(std::string_view text, int patternCount = 0) {
    return {StartOutcome::ConsoleError, std::string(text), patternCount, std::nullopt, {}};
}

StartDecision consoleError(std::string_view text, std::string_view tail) {
    std::string message(text);
    message += tail;
    return {StartOutcome::ConsoleError, message, 0, std::nullopt, {}};
}

StartDecision messageBox(std::string_view text) {
    return {StartOutcome::MessageBox, std::string(text), 0, std::nullopt, {}};
}

// The file's raw bytes, no line-end translation, up to its first NUL.
std::optional<std::string> readRawUpToNul(const std::filesystem::path& path) {
    std::optional<std::string> content = readFileBytes(path);
    if (content) {
        content->resize(std::min(content->size(), content->find('\0')));
    }
    return content;
}

} // namespace

std::string patternsFileText(const std::string& trimmedBoxText) {
    const bool crlf = trimmedBoxText.find("\r\n") != std::string::npos;
    return trimmedBoxText + (crlf ? "\r\n" : "\n");
}

bool writePatternsFile(const std::filesystem::path& path, const std::string& bytes) {
    // A missing generator folder is then reported as a missing generator, not as this file.
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    return writePrivateFile(path, bytes).ok();
}

StartDecision decideStart(const StartInputs& inputs, const std::filesystem::path& workDir) {
    StartDecision go;
    if (inputs.patternsFromBox) {
        const std::string patterns = trimWhiteSpace(inputs.boxText);
        if (patterns.empty()) {
            return consoleError(kBoxEmptyError);
        }
        if (!IsBase58Text(patterns)) {
            return consoleError(kBoxInvalidError, kPatternCharacters);
        }
        go.patternCount = CountPatterns(patterns);
        if (go.patternCount == 0) {
            return consoleError(kBoxNoPatternsError);
        }
        go.patternsFileBytes = patternsFileText(patterns);
        go.patterns = patternsOfText(patterns);
    } else if (inputs.patternsFromFile) {
        if (inputs.patternsFilePath.empty()) {
            return messageBox(kNoFileSelectedPrompt);
        }
        const std::filesystem::path file = workDir / inputs.patternsFilePath;
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            return messageBox(kFileNotFoundPrompt);
        }
        const std::optional<std::string> content = readRawUpToNul(file);
        if (!content) {
            return consoleError(kFileUnreadableError);
        }
        if (!IsBase58Text(*content)) {
            return consoleError(kFileInvalidError, kPatternCharacters);
        }
        go.patternCount = CountPatterns(*content);
        if (go.patternCount == 0) {
            return consoleError(kFileNoPatternsError);
        }
        go.patterns = patternsOfText(*content);
    }
    if (inputs.externalApp == kPoolMiner) {
        if (inputs.rewardAddress.empty()) {
            return {StartOutcome::MessageBox,
                    std::string(kNoRewardPrompt),
                    go.patternCount,
                    std::nullopt,
                    {}};
        }
        if (!IsBase58Text(inputs.rewardAddress)) {
            return consoleError(kRewardInvalidError, go.patternCount);
        }
    }
    return go;
}

StartDecision prepareStart(const StartInputs& inputs, const std::filesystem::path& workDir) {
    StartDecision decision = decideStart(inputs, workDir);
    if (decision.outcome == StartOutcome::Go && decision.patternsFileBytes &&
        !writePatternsFile(workDir / kPatternsFile, *decision.patternsFileBytes)) {
        return consoleError(kPatternsFileWriteError, decision.patternCount);
    }
    return decision;
}

} // namespace tarwick
