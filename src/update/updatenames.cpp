#include "update/updatenames.h"

namespace vaha::update {

QString versionFileName(const QString& baseName) {
    return baseName + QString::fromUtf16(kVersionFileSuffix);
}

QString installerFileName(const QString& baseName) {
    return baseName + QString::fromUtf16(kInstallerSuffix);
}

} // namespace vaha::update
