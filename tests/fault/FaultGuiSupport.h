#pragma once

#include "GuiTestSupport.h"

#include <QColor>
#include <QString>
#include <chrono>
#include <string>
#include <sys/types.h>

namespace tarwick::fault {

QString consoleText(const test::Application& app);
void typePatterns(test::Application& app, const QString& text);
void pressStart(test::Application& app);
void pressStop(test::Application& app);
bool runActive(const test::Application& app);
int foundRows(const test::Application& app);
// The text colour of the console's first occurrence of the text (invalid when it is not there).
QColor colourOf(const test::Application& app, const QString& text);

// The generator the running search started (the test generator writes its process id), once
// it has started; 0 when it did not within the deadline.
pid_t startedGenerator(const test::Application& app);

// Process ids of programs still running from the working folder's vanitygen/ (orphans).
std::vector<pid_t> generatorsRunningIn(const std::filesystem::path& folder);

void appendBytes(const std::filesystem::path& file, std::string_view bytes);

// The longest time the event loop went without running a 10 ms timer during `span`: how long
// the window was frozen at worst.
std::chrono::milliseconds longestStall(std::chrono::milliseconds span);

} // namespace tarwick::fault
