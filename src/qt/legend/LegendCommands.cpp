#include "qt/legend/LegendCommands.h"

#include "core/files/RecentFileList.h"

#include "qt/app/CommandActions.h"
#include "qt/app/MenuBuilder.h"
#include "qt/grid/KeyGridWidget.h"
#include "qt/legend/LegendOptionsDialog.h"
#include "qt/legend/LegendPainter.h"
#include "qt/platform/FileDialogs.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>

using namespace zr4700;

namespace {

QSettings Store() {
    return QSettings(QString::fromUtf8(kProfileKey), QCoreApplication::applicationName());
}

const QString kGroup = QStringLiteral("Legends");

} // namespace

LegendCommands::LegendCommands(QWidget* window, QMenuBar* menuBar, QMenu* fileMenu,
                               KeyGridWidget* grid, const Layout& layout, CommandActions& actions)
    : QObject(window), window_(window), grid_(grid), layout_(layout) {
    namesShown_ = Store().value(kGroup + QStringLiteral("/KeyNamesOnCaps"), true).toBool();
    namesAction_ = actions.Action(kCmdKeyNamesOnCaps);
    printAction_ = actions.Action(kCmdPrintLegends);
    exportAction_ = actions.Action(kCmdExportLegends);
    namesAction_->setObjectName(QStringLiteral("keyNamesOnCaps"));
    printAction_->setObjectName(QStringLiteral("printLegends"));
    exportAction_->setObjectName(QStringLiteral("exportLegends"));

    if (menuBar) {
        viewMenu_ = new QMenu(Resources::String("legend.menu.view"), menuBar);
        viewMenu_->setObjectName(QStringLiteral("viewMenu"));
        // Before Help, the last menu, where a View menu usually stands.
        QAction* before = nullptr;
        const QList<QAction*> top = menuBar->actions();
        const qsizetype fileAt = fileMenu ? top.indexOf(fileMenu->menuAction()) : -1;
        if (fileAt >= 0 && fileAt + 1 < top.size())
            before = top.last();
        menuBar->insertMenu(before, viewMenu_);
        viewMenu_->addAction(namesAction_);
    }
    if (grid_)
        grid_->setShowNames(namesShown_);

    if (fileMenu) {
        // After "Save As...", with the other commands that write the layout somewhere.
        const QList<QAction*> items = fileMenu->actions();
        QAction* saveAs = FindCommand(fileMenu, kCmdFileSaveAs);
        const qsizetype at = items.indexOf(saveAs);
        QAction* before = at >= 0 && at + 1 < items.size() ? items.at(at + 1) : nullptr;
        fileMenu->insertAction(before, printAction_);
        fileMenu->insertAction(before, exportAction_);
    }
    namesAction_->setChecked(namesShown_);
}

void LegendCommands::SetNamesShown(bool shown) {
    namesShown_ = shown;
    if (grid_)
        grid_->setShowNames(shown);
    if (namesAction_ && namesAction_->isChecked() != shown)
        namesAction_->setChecked(shown);
    Store().setValue(kGroup + QStringLiteral("/KeyNamesOnCaps"), shown);
}

LegendCommands::Settings LegendCommands::LoadSettings() {
    QSettings store = Store();
    store.beginGroup(kGroup);
    Settings settings;
    settings.arrangement =
        store.value(QStringLiteral("Arrangement")).toString() == QLatin1String("packed")
            ? LegendArrangement::Packed
            : LegendArrangement::Keyboard;
    settings.pitchMm = store.value(QStringLiteral("Pitch"), settings.pitchMm).toDouble();
    settings.marginMm = store.value(QStringLiteral("Margin"), settings.marginMm).toDouble();
    settings.onlyProgrammed =
        store.value(QStringLiteral("OnlyProgrammed"), settings.onlyProgrammed).toBool();
    settings.codeNames = store.value(QStringLiteral("CodeNames"), settings.codeNames).toBool();
    settings.exportType = store.value(QStringLiteral("ExportType"), settings.exportType).toInt();
    settings.pitchMm = std::clamp(settings.pitchMm, kMinPitchMm, kMaxPitchMm);
    settings.marginMm = std::clamp(settings.marginMm, 0.0, kMaxMarginMm);
    if (settings.exportType < 1 || settings.exportType > 3)
        settings.exportType = 1;
    return settings;
}

void LegendCommands::SaveSettings(const Settings& settings) {
    QSettings store = Store();
    store.beginGroup(kGroup);
    store.setValue(QStringLiteral("Arrangement"), settings.arrangement == LegendArrangement::Packed
                                                      ? QStringLiteral("packed")
                                                      : QStringLiteral("keyboard"));
    store.setValue(QStringLiteral("Pitch"), settings.pitchMm);
    store.setValue(QStringLiteral("Margin"), settings.marginMm);
    store.setValue(QStringLiteral("OnlyProgrammed"), settings.onlyProgrammed);
    store.setValue(QStringLiteral("CodeNames"), settings.codeNames);
    store.setValue(QStringLiteral("ExportType"), settings.exportType);
}

bool LegendCommands::AskOptions(Settings& settings) {
    LegendOptionsDialog dialog(window_, settings);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.settings();
    SaveSettings(settings);
    return true;
}

LegendSheet LegendCommands::Sheet(const Settings& settings, double pageWidthMm,
                                  double pageHeightMm) const {
    LegendOptions options;
    options.arrangement = settings.arrangement;
    options.pitchMm = settings.pitchMm;
    options.marginMm = settings.marginMm;
    options.onlyProgrammed = settings.onlyProgrammed;
    options.showCodeNames = settings.codeNames;
    options.pageWidthMm = pageWidthMm;
    options.pageHeightMm = pageHeightMm;
    const QString name = layout_.fileName.empty() ? Resources::String(32788)
                                                  : QString::fromStdString(layout_.fileName);
    options.footer = LegendPainter::FooterFor(name);
    return ComputeLegendSheet(layout_, options);
}

void LegendCommands::PaintOnPrinter(QPrinter* printer, const Settings& settings) {
    const QRectF paper = printer->pageLayout().fullRect(QPageLayout::Millimeter);
    const LegendSheet sheet = Sheet(settings, paper.width(), paper.height());
    // The sheet turns the page when only that fits the keyboard; the paper turns with it.
    if (sheet.turned)
        printer->setPageOrientation(printer->pageLayout().orientation() == QPageLayout::Portrait
                                        ? QPageLayout::Landscape
                                        : QPageLayout::Portrait);
    QPainter painter(printer);
    LegendPainter::PrintSheet(painter, *printer, sheet);
}

void LegendCommands::OnPrintLegends() {
    Settings settings = LoadSettings();
    if (!AskOptions(settings))
        return;
    LegendOptions page;
    LegendPainter::SetLocalePageSize(page);
    const LegendSheet sheet = Sheet(settings, page.pageWidthMm, page.pageHeightMm);
    if (sheet.capCount() == 0) {
        Prompts::Instance().ShowErrorText(Resources::String("legend.noKeys"), window_);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    if (sheet.turned)
        printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, window_);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, settings](QPrinter* target) { PaintOnPrinter(target, settings); });
    preview.exec();
}

void LegendCommands::OnExportLegends() {
    Settings settings = LoadSettings();
    if (!AskOptions(settings))
        return;
    LegendOptions page;
    LegendPainter::SetLocalePageSize(page);
    const LegendSheet sheet = Sheet(settings, page.pageWidthMm, page.pageHeightMm);
    if (sheet.capCount() == 0) {
        Prompts::Instance().ShowErrorText(Resources::String("legend.noKeys"), window_);
        return;
    }
    const LegendPainter::Format formats[] = {LegendPainter::Format::Pdf, LegendPainter::Format::Svg,
                                             LegendPainter::Format::Png};
    FileDialogs::SaveRequest request;
    request.filters = {Resources::String("legend.filter.pdf"),
                       Resources::String("legend.filter.svg"),
                       Resources::String("legend.filter.png")};
    request.initialFilterIndex = settings.exportType;
    request.title = Resources::String("legend.export.title");
    const QString extension = LegendPainter::Extension(formats[settings.exportType - 1]);
    request.defaultExtension = extension;
    const QString base =
        layout_.fileName.empty()
            ? Resources::String(32788)
            : QFileInfo(QString::fromStdString(layout_.fileName)).completeBaseName();
    request.initialName = base + QLatin1Char('.') + extension;
    const std::optional<FileDialogs::Choice> choice =
        FileDialogs::GetSaveFileName(window_, request);
    if (!choice || choice->path.isEmpty())
        return;
    const int type = std::clamp(choice->filterIndex, 1, 3);
    QString path = choice->path;
    // The name's extension decides; a name without a known one gets the chosen type's.
    if (LegendPainter::FormatOf(path) == LegendPainter::Format::Unknown)
        path += QLatin1Char('.') + LegendPainter::Extension(formats[type - 1]);
    settings.exportType = type;
    SaveSettings(settings);
    const QString error = LegendPainter::Export(sheet, path);
    if (!error.isEmpty())
        Prompts::Instance().ShowErrorText(error, window_);
}
