#include "qt/platform/RecentFileSettings.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

QString Key(int n) {
    return QStringLiteral("Recent File List/File%1").arg(n);
}

const QString kOrganisation = QStringLiteral("Valmora");

} // namespace

std::string RecentFileSettings::Read(int n) const {
    const QSettings settings(kOrganisation, QCoreApplication::applicationName());
    return settings.value(Key(n)).toString().toStdString();
}

void RecentFileSettings::Write(int n, const std::string& path) {
    QSettings settings(kOrganisation, QCoreApplication::applicationName());
    settings.setValue(Key(n), QString::fromStdString(path));
}
