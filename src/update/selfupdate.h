#pragma once

#include <QString>
#include <functional>

// What the update check needs from its surroundings: the program directory, the server's
// address, starting the installer and ending the program. The program runs with the defaults;
// tests point the directory and the address elsewhere and keep their own process alive.
namespace vaha::update {

struct SelfUpdateEnvironment {
    QString programDirectory; // empty: ProgramDirectory()
    QString baseUrl;          // empty: [UPDATE] BaseURL of vahaPLX.ini, else kDefaultBaseUrl
    std::function<bool(const QString& commandLine)> startProgram; // empty: StartProgram
    std::function<void()> terminateApplication;                   // empty: QCoreApplication::quit()
};

// The one environment of the process.
SelfUpdateEnvironment& selfUpdateEnvironment();

// Where the program file, the downloads and verze.log are; ends with a separator.
QString updateProgramDirectory();

// The address the server's files are appended to.
QString updateBaseUrl();

// "setupvahaplx.run /DIR=\"<program directory>\"": the bare installer name, resolved in the
// program directory where the check stored it, and the directory with its trailing separator.
QString installerCommandLine();

// Starts the installer shown and without waiting; true when it was started.
bool startInstaller();

// Asks the application to end once the current handler returns.
void terminateApplication();

} // namespace vaha::update
