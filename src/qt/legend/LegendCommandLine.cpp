#include "qt/legend/LegendCommandLine.h"

#include "core/files/LayoutFileEditor.h"
#include "core/legend/LegendSheet.h"
#include "core/model/Layout.h"
#include "qt/legend/LegendPainter.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

using namespace zr4700;

namespace {

constexpr int kBadArgument = 2;
constexpr int kFailed = 1;

void Complain(const QString& text) {
    std::fprintf(stderr, "zr4700: %s\n", qPrintable(text));
}

int Usage(const QString& problem) {
    Complain(problem);
    std::fprintf(stderr, "%s\n", qPrintable(Resources::String("legend.cli.usage")));
    return kBadArgument;
}

std::optional<double> Millimetres(const QString& text, double low, double high) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

} // namespace

namespace LegendCommandLine {

bool Requested(const QStringList& arguments) {
    return arguments.mid(1).contains(QStringLiteral("--legend"));
}

int Run(const QStringList& arguments) {
    Resources::LoadReplacementBundle(QCoreApplication::applicationDirPath());
    // A message the layout would show in a box (a broken cell group) goes to stderr instead.
    Prompts::Instance().SetMode(Prompts::Mode::Headless);

    QString output;
    QString layoutPath;
    LegendOptions options;
    LegendPainter::SetLocalePageSize(options);
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--legend")) {
            if (!hasValue || !output.isEmpty())
                return Usage(Resources::String("legend.cli.needsOutput"));
            output = arguments.at(++i);
        } else if (argument == QLatin1String("--pitch") || argument == QLatin1String("--margin")) {
            const bool pitch = argument == QLatin1String("--pitch");
            const double low = pitch ? kMinPitchMm : 0.0;
            const double high = pitch ? kMaxPitchMm : kMaxMarginMm;
            const std::optional<double> value =
                hasValue ? Millimetres(arguments.at(++i), low, high) : std::nullopt;
            if (!value)
                return Usage(
                    Resources::String("legend.cli.badSize").arg(argument).arg(low).arg(high));
            (pitch ? options.pitchMm : options.marginMm) = *value;
        } else if (argument == QLatin1String("--all-keys")) {
            options.onlyProgrammed = false;
        } else if (argument == QLatin1String("--code-names")) {
            options.showCodeNames = true;
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return Usage(Resources::String("legend.cli.unknownOption").arg(argument));
        } else if (layoutPath.isEmpty()) {
            layoutPath = argument;
        } else {
            return Usage(Resources::String("legend.cli.oneLayout"));
        }
    }
    if (LegendPainter::FormatOf(output) == LegendPainter::Format::Unknown)
        return Usage(Resources::String("legend.cli.badFormat").arg(output));
    if (layoutPath.isEmpty())
        return Usage(Resources::String("legend.cli.needsLayout"));
    if (options.marginMm > zr4700::MaxMarginMm(options.pitchMm))
        return Usage(Resources::String("legend.cli.badSize")
                         .arg(QStringLiteral("--margin"))
                         .arg(0)
                         .arg(zr4700::MaxMarginMm(options.pitchMm)));

    QFile file(layoutPath);
    if (!QFileInfo(layoutPath).isFile() || !file.open(QIODevice::ReadOnly)) {
        Complain(Resources::String("legend.cli.cannotRead").arg(layoutPath));
        return kFailed;
    }
    const QByteArray bytes = file.readAll();
    Layout layout;
    ReadLayoutText(layout, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    layout.RebuildCellGroups(Prompts::Instance());

    options.footer = LegendPainter::FooterFor(layoutPath);
    const LegendSheet sheet = ComputeLegendSheet(layout, options);
    if (sheet.capCount() == 0) {
        Complain(Resources::String("legend.cli.nothingToPrint").arg(layoutPath));
        return kFailed;
    }
    const QString error = LegendPainter::Export(sheet, output);
    if (!error.isEmpty()) {
        Complain(error);
        return kFailed;
    }
    return 0;
}

} // namespace LegendCommandLine
