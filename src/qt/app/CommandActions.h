#pragma once
// The window's actions, one per entry of the core's command table: menus and the key popup show
// these same actions, and their shortcuts work in the whole main window. Their enabled (and
// checked) states are the table's rules, refreshed whenever the document, the selection, the
// history or the clipboard changes; triggering one runs the command through the table.

#include "core/document/Commands.h"
#include "core/document/Views.h"

#include <QObject>

#include <map>

class QAction;
class QWidget;

// The resource set as the core's text source.
class ResourceTexts final : public zr4700::TextSource {
  public:
    std::string Text(std::string_view key) const override;
};

class CommandActions : public QObject {
    Q_OBJECT

  public:
    // Window-wide shortcuts go to the window, the grid's own to the grid.
    CommandActions(zr4700::CommandContext context, QWidget* window, QWidget* grid);

    // The action of a command; null for an id the table does not have.
    QAction* Action(int id) const;
    // Sets a menu item's text (the menu resources carry the texts of their own items).
    QAction* ActionWithText(int id, const QString& text);
    void Refresh();
    zr4700::CommandContext& context() { return context_; }

  private:
    zr4700::CommandContext context_;
    std::map<int, QAction*> actions_;
    ResourceTexts texts_;
};
