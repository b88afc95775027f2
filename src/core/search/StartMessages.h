#pragma once

#include <string_view>

namespace tarwick {

// The texts a start can end with, exactly as the user sees them. The two "invalid characters"
// texts are followed by the accepted character set.
inline constexpr std::string_view kBoxEmptyError =
    "[ERROR]\n'Patterns to search' box is empty. Please enter the Bitcoin patterns to search. "
    "For example 1Mary";
inline constexpr std::string_view kBoxInvalidError =
    "[ERROR]\n'Patterns to search' box contains invalid characters.\nValid characters are: ";
inline constexpr std::string_view kBoxNoPatternsError =
    "[ERROR]\nThere are no patterns to search in 'Patterns to search' box.";
inline constexpr std::string_view kNoFileSelectedPrompt =
    "No patterns file selected.\nPlease select the file that contains the patterns to search.";
inline constexpr std::string_view kFileNotFoundPrompt = "Patterns file not found.";
inline constexpr std::string_view kFileInvalidError =
    "[ERROR]\nThe selected patterns file contains invalid characters.\nValid characters are: ";
inline constexpr std::string_view kFileNoPatternsError =
    "[ERROR]\nThere are no patterns to search in selected file.";
inline constexpr std::string_view kNoRewardPrompt =
    "No reward Bitcoin address specified in 'Reward Bitcoin address'.";
inline constexpr std::string_view kRewardInvalidError =
    "[ERROR]\n'Reward Bitcoin address' contains invalid characters.";

// Ours: a start must not go ahead silently on a file it could not read or write.
inline constexpr std::string_view kFileUnreadableError =
    "[ERROR]\nThe selected patterns file could not be read.";
inline constexpr std::string_view kPatternsFileWriteError =
    "[ERROR]\nThe patterns could not be written to vanitygen//patterns.txt.";

} // namespace tarwick
