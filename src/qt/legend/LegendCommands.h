#pragma once
// The legend commands of the main window: View > "Key names on caps", File > "Print legends..."
// and File > "Export legends...". Made once the menu bar exists; it adds its items to the menus
// it is given and lives as long as the window.
//
// Per user, beside the recent files (QSettings "Valmora" / the program name), group "Legends":
// KeyNamesOnCaps, Arrangement ("keyboard" or "packed"), Pitch, Margin, OnlyProgrammed, CodeNames
// and ExportType.

#include "core/legend/LegendSheet.h"

#include <QObject>
#include <QPointer>

class CommandActions;
class KeyGridWidget;
class QAction;
class QMenu;
class QMenuBar;
class QPrinter;
class QWidget;

class LegendCommands : public QObject {
    Q_OBJECT

  public:
    // The window's actions of the three commands go into the View and File menus.
    LegendCommands(QWidget* window, QMenuBar* menuBar, QMenu* fileMenu, KeyGridWidget* grid,
                   const zr4700::Layout& layout, CommandActions& actions);

    QMenu* viewMenu() const { return viewMenu_; }
    QAction* namesAction() const { return namesAction_; }
    QAction* printAction() const { return printAction_; }
    QAction* exportAction() const { return exportAction_; }

    void SetNamesShown(bool shown);
    bool namesShown() const { return namesShown_; }
    void OnPrintLegends();
    void OnExportLegends();

    // The sheet's sizes and choices as last used.
    struct Settings {
        zr4700::LegendArrangement arrangement = zr4700::LegendArrangement::Keyboard;
        double pitchMm = 19.05;
        double marginMm = 1.0;
        bool onlyProgrammed = true;
        bool codeNames = false;
        int exportType = 1; // 1 PDF, 2 SVG, 3 PNG: the save dialog's type
    };
    static Settings LoadSettings();
    static void SaveSettings(const Settings& settings);
    // Asks for the sizes and choices; false when cancelled.
    bool AskOptions(Settings& settings);

    // The sheet of the layout with these settings on a page of the given size.
    zr4700::LegendSheet Sheet(const Settings& settings, double pageWidthMm,
                              double pageHeightMm) const;

  private:
    // Draws the sheet on a printer, on the page size it has.
    void PaintOnPrinter(QPrinter* printer, const Settings& settings);

    QPointer<QWidget> window_;
    QPointer<KeyGridWidget> grid_;
    const zr4700::Layout& layout_;
    QMenu* viewMenu_ = nullptr;
    QAction* namesAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    bool namesShown_ = true;
};
