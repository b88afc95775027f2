#pragma once

// What the fault tests share: the real window, the test generator, real keys, and these helpers.
#include "GuiTestSupport.h"
#include "TestGenerators.h"
#include "ValidKeys.h"
#include "view/ControlIds.h"

#include <QAction>
#include <QTest>
#include <sys/types.h>

namespace tarwick::fault {

// The process id the test generator wrote in the folder; 0 while it is not there whole.
pid_t generatorPid(const std::filesystem::path& folder);
// False once the process has ended (a zombie no one has reaped yet counts as ended).
bool processAlive(pid_t pid);
bool fileHolds(const std::filesystem::path& file, std::string_view text);
// The window, driven as a user would.
QString consoleText(const test::Application& app);
bool consoleHas(const test::Application& app, const char* text);
QString progressText(const test::Application& app);
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
