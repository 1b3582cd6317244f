#include "update/selfupdate.h"

#include "update/updatenames.h"
#include "util/configuration.h"
#include "util/fileutil.h"
#include "util/process.h"

#include <QCoreApplication>

namespace vaha::update {

SelfUpdateEnvironment& selfUpdateEnvironment() {
    static SelfUpdateEnvironment environment;
    return environment;
}

QString updateProgramDirectory() {
    const QString& dir = selfUpdateEnvironment().programDirectory;
    return dir.isEmpty() ? ProgramDirectory() : dir;
}

QString updateBaseUrl() {
    const QString& url = selfUpdateEnvironment().baseUrl;
    if (!url.isEmpty())
        return url;
    return readUpdateBaseUrl(updateProgramDirectory() + QString::fromUtf16(kProgramConfigFile),
                             QString::fromUtf16(kDefaultBaseUrl));
}

QString installerCommandLine() {
    return installerFileName(QString::fromUtf16(kInstallerBaseName)) + QStringLiteral(" /DIR=\"") +
           updateProgramDirectory() + u'"';
}

bool startInstaller() {
    const QString commandLine = installerCommandLine();
    const auto& start = selfUpdateEnvironment().startProgram;
    return start ? start(commandLine) : StartProgram(commandLine, false, false);
}

void terminateApplication() {
    const auto& terminate = selfUpdateEnvironment().terminateApplication;
    if (terminate)
        terminate();
    else
        QCoreApplication::quit();
}

} // namespace vaha::update
