#pragma once

namespace tarwick {

// Numeric identities of the form's controls and of the menu commands. Every widget and action
// carries its number in the "controlId" property so tests and handlers can find it.
namespace ControlId {
inline constexpr int FoundList = 1000;
inline constexpr int StartSearch = 1010;
inline constexpr int StopSearch = 1011;
inline constexpr int Console = 1020;
inline constexpr int Progress = 1021;
inline constexpr int ExternalApp = 1022;
inline constexpr int OpenClPlatform = 1023;
inline constexpr int CpuThreads = 1024;
inline constexpr int PatternsBox = 1029;
inline constexpr int PatternsFromBox = 1030;
inline constexpr int PatternsFromFile = 1031;
inline constexpr int SelectFile = 1032;
inline constexpr int PatternsFilePath = 1033;
inline constexpr int EditPatternsFile = 1034;
inline constexpr int ElapsedTime = 1035;
inline constexpr int RewardAddress = 1036;
} // namespace ControlId

namespace CommandId {
inline constexpr int ExportAll = 1100;
inline constexpr int ListPlatforms = 1101;
inline constexpr int HelpVanitygenCpu = 1102;
inline constexpr int HelpVanitygenGpu = 1103;
inline constexpr int HelpVanityminerPool = 1104;
inline constexpr int AvoidOverheating = 1105;
inline constexpr int CaseInsensitive = 1106;
inline constexpr int ScrollLockLight = 1107;
inline constexpr int PlaySound = 1108;
inline constexpr int EditCopy = 57634;
inline constexpr int About = 57664;
inline constexpr int Exit = 57665;
inline constexpr int ToggleStatusBar = 59393;
} // namespace CommandId

inline constexpr char controlIdProperty[] = "controlId";

} // namespace tarwick
