#pragma once

#include "GuiTestSupport.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tarwick::fault {

// Polls the condition (without an event loop) until it holds or the deadline passes.
bool eventually(const std::function<bool()>& condition, std::chrono::seconds deadline);

// Starts the program in the folder, its output going to "program-output.txt" there.
pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder);
void killAndReap(pid_t pid);
// Waits for the program's end: its exit code, or -1 when a signal ended it.
int exitCodeOf(pid_t pid);

// The process id the test generator wrote in the folder; 0 while it is not there whole.
pid_t generatorPid(const std::filesystem::path& folder);
// False once the process has ended (a zombie no one has reaped yet counts as ended).
bool processAlive(pid_t pid);
// Whether a program from the folder's vanitygen/ still runs (an orphan, once the run is over).
bool generatorRunningIn(const std::filesystem::path& folder);
void appendBytes(const std::filesystem::path& file, std::string_view bytes);

// The window, driven as a user would.
QString consoleText(const test::Application& app);
void pressStart(test::Application& app);
// Presses Stop and waits until the run has ended and a new one may start.
void stopSearch(test::Application& app);
bool runActive(const test::Application& app);
int foundRows(const test::Application& app);
// Installs the test generator with the script, types "1Ab" and presses Start.
void startSearch(test::Application& app, std::string_view script);
// The generator of the run just started, once it is up; 0 when it did not start in time.
pid_t startedGenerator(const test::Application& app);

} // namespace tarwick::fault
