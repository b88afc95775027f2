#include "app/CommandLine.h"

#include "core/workdir/WorkingFolder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace tarwick {
namespace {

const QCommandLineOption workdirOption(
    QStringLiteral("workdir"),
    QStringLiteral("Keep settings, found keys and generators in DIR (created if missing)."),
    QStringLiteral("DIR"));

void describeProgram(QCommandLineParser& parser) {
    QCoreApplication::setApplicationName(QStringLiteral("Tarwick"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARWICK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TARWICK_APP_ID));
    parser.setApplicationDescription(
        QStringLiteral("Finds vanity Bitcoin addresses with the vanitygen generators.\n"
                       "Without --workdir the working folder is the current folder when it "
                       "holds vanitygen/, else $XDG_DATA_HOME/Tarwick (~/.local/share/Tarwick)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(workdirOption);
}

std::filesystem::path localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

void answerHelpOrVersion(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) != 0) {
                continue;
            }
            QCoreApplication app(argc, argv);
            QCommandLineParser parser;
            describeProgram(parser);
            parser.process(app); // prints and exits
        }
    }
}

std::optional<std::filesystem::path> enterWorkingFolder(const QApplication& app) {
    QCommandLineParser parser;
    describeProgram(parser);
    parser.process(app);
    // The installed generators sit in libexec beside bin, wherever the prefix is.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/" TARWICK_LIBEXEC_FROM_BIN));
    const WorkingFolder folder = chooseWorkingFolder(
        {localPath(parser.value(workdirOption)), localPath(QDir::currentPath()),
         environment("XDG_DATA_HOME"), environment("HOME"), localPath(installed)});
    std::error_code error;
    if (!folder.path.empty()) {
        std::filesystem::current_path(folder.path, error);
    }
    if (folder.path.empty() || error) {
        const std::string why =
            folder.path.empty() ? folder.error
                                : "Cannot work in " + folder.path.string() + ": " + error.message();
        std::cerr << why << '\n';
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(),
                              QString::fromLocal8Bit(why.c_str()));
        return std::nullopt;
    }
    // Absolute, as the program's messages name the files in it.
    std::filesystem::path entered = std::filesystem::current_path(error);
    return error ? folder.path : entered;
}

} // namespace tarwick
