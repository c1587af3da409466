#include "qt/platform/RecentFileSettings.h"

#include "core/files/RecentFileList.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

QString Key(int n) {
    return QStringLiteral("%1/File%2").arg(QString::fromUtf8(zr4700::kRecentFileSection)).arg(n);
}

const QString kOrganisation = QString::fromUtf8(zr4700::kProfileKey);

} // namespace

std::string RecentFileSettings::Read(int n) const {
    const QSettings settings(kOrganisation, QCoreApplication::applicationName());
    return settings.value(Key(n)).toString().toStdString();
}

void RecentFileSettings::Write(int n, const std::string& path) {
    QSettings settings(kOrganisation, QCoreApplication::applicationName());
    settings.setValue(Key(n), QString::fromStdString(path));
}
