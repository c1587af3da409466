#include "qt/platform/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QResource>

namespace {

// Qt lets the first registered file win a path clash, so the replacement bundle lives under its
// own root and every lookup tries that root before the built-in set.
const QString kLocalRoot = QStringLiteral("/local");
const QString kLocalPrefix = QStringLiteral(":/local/resources/");
const QString kBuiltInPrefix = QStringLiteral(":/resources/");

QString& registeredBundle() {
    static QString path;
    return path;
}

QHash<QString, QJsonObject>& jsonCache() {
    static QHash<QString, QJsonObject> cache;
    return cache;
}

// Where to look, in order: the replacement bundle (when one is registered), then the built-in set.
QStringList prefixes() {
    if (registeredBundle().isEmpty())
        return {kBuiltInPrefix};
    return {kLocalPrefix, kBuiltInPrefix};
}

QJsonObject loadJson(const QString& path) {
    auto& cache = jsonCache();
    auto it = cache.find(path);
    if (it != cache.end())
        return *it;
    QFile f(path);
    QJsonObject object;
    if (f.open(QIODevice::ReadOnly))
        object = QJsonDocument::fromJson(f.readAll()).object();
    cache.insert(path, object);
    return object;
}

// An entry of a JSON file of the resource set, found by a path of keys; a replacement file
// replaces only the entries it holds.
QJsonValue lookup(const QString& file, const QStringList& keys) {
    for (const QString& prefix : prefixes()) {
        QJsonValue value = loadJson(prefix + file);
        for (const QString& key : keys)
            value = value.toObject().value(key);
        if (!value.isUndefined())
            return value;
    }
    return {};
}

} // namespace

namespace Resources {

bool UseReplacementBundle(const QString& rccPath) {
    QString& current = registeredBundle();
    if (!current.isEmpty())
        QResource::unregisterResource(current, kLocalRoot);
    current.clear();
    jsonCache().clear();
    if (rccPath.isEmpty())
        return true;
    if (!QResource::registerResource(rccPath, kLocalRoot))
        return false;
    current = rccPath;
    return true;
}

QString LoadReplacementBundle(const QString& executableDirectory) {
    const QStringList candidates = {QDir(executableDirectory).filePath("local.rcc"),
                                    QDir::current().filePath("local.rcc")};
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile() && UseReplacementBundle(candidate))
            return candidate;
    }
    return {};
}

QString String(int id) {
    return lookup("strings.json", {QString::number(id)}).toString();
}

QString String(const char* key) {
    return lookup("strings.json", {QString::fromUtf8(key)}).toString();
}

QString DialogText(int dialogId, const QString& key) {
    return lookup("dialogs.json", {QString::number(dialogId), key}).toString();
}

QJsonArray Menu(int menuId) {
    return lookup("menus.json", {QString::number(menuId)}).toArray();
}

QPixmap Bitmap(int id, int scale) {
    const QString stored = QStringLiteral("bitmaps/%1.png").arg(id);
    const QString hiRes = QStringLiteral("bitmaps/%1@%2x.png").arg(id).arg(scale);
    for (const QString& prefix : prefixes()) {
        if (scale > 1 && QFile::exists(prefix + hiRes))
            return QPixmap(prefix + hiRes);
        if (QFile::exists(prefix + stored))
            return QPixmap(prefix + stored);
    }
    return {};
}

QIcon Icon(int id) {
    QIcon icon;
    for (const QString& name :
         {QStringLiteral("icons/%1.png"), QStringLiteral("icons/%1-256.png")}) {
        for (const QString& prefix : prefixes()) {
            if (QFile::exists(prefix + name.arg(id))) {
                icon.addFile(prefix + name.arg(id));
                break;
            }
        }
    }
    return icon;
}

} // namespace Resources
