#pragma once

#include "../core/search/TempFolder.h"
#include "TestGenerators.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <functional>

namespace tarwick::testing {

// Runs the event loop until the condition holds or the time is up; true when it holds.
inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

// A working folder with the three test generators installed.
class GeneratorFolder : public TempFolder {
public:
    GeneratorFolder() { InstallTestGenerators(path()); }
    void script(std::string_view text) const { WriteGeneratorScript(path(), text); }
};

} // namespace tarwick::testing
