#pragma once
// The program's resource set: string table, menus, dialog texts, bitmaps and the icon. An optional
// replacement bundle "local.rcc" (beside the executable or in the current directory) is registered
// under its own root and looked at first, so it can replace any single resource.

#include <QIcon>
#include <QJsonArray>
#include <QPixmap>
#include <QString>

namespace Resources {

// Registers local.rcc when one is found; safe to call more than once. Returns the bundle used.
QString LoadReplacementBundle(const QString& executableDirectory);
// Registers a specific bundle (tests); an empty path unregisters the current one.
bool UseReplacementBundle(const QString& rccPath);

QString String(int id);
QString String(const char* key);
// Text of a dialog's control or label; the key is a control id ("1018") or a label name.
QString DialogText(int dialogId, const QString& key);
// The texts of one dialog template: text("caption"), text(1018).
struct DialogTexts {
    int dialogId;
    QString operator()(const char* key) const {
        return DialogText(dialogId, QString::fromUtf8(key));
    }
    QString operator()(int controlId) const {
        return DialogText(dialogId, QString::number(controlId));
    }
};
// The items of a menu resource: objects with "text", "id", "separator" or nested "items".
QJsonArray Menu(int menuId);
// A bitmap at its stored size; with scale 4 the high-resolution variant when there is one.
QPixmap Bitmap(int id, int scale = 1);
QIcon Icon(int id);

} // namespace Resources
