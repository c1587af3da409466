#include "qt/legend/LegendCommandLine.h"

#include "core/files/LayoutFileEditor.h"
#include "core/legend/LegendSheet.h"
#include "core/model/Layout.h"
#include "qt/legend/LegendPainter.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <filesystem>
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

// An argument as messages show it, and as a path: the system's bytes on POSIX systems, UTF-8 on
// Windows (where the program hands over its arguments so).
QString Text(const std::string& argument) {
#ifdef _WIN32
    return QString::fromStdString(argument);
#else
    return QFile::decodeName(QByteArray::fromStdString(argument));
#endif
}

std::filesystem::path PathOf(const std::string& argument) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
#else
    return std::filesystem::path(argument);
#endif
}

std::optional<double> Millimetres(const std::string& text, double low, double high) {
    bool ok = false;
    const double value = Text(text).toDouble(&ok);
    if (!ok || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

} // namespace

namespace LegendCommandLine {

bool Requested(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i)
        if (arguments[i] == "--legend")
            return true;
    return false;
}

int Run(const std::vector<std::string>& arguments) {
    Resources::LoadReplacementBundle(QCoreApplication::applicationDirPath());
    // A message the layout would show in a box (a broken cell group) goes to stderr instead.
    Prompts::Instance().SetMode(Prompts::Mode::Headless);

    std::optional<std::string> output;
    std::string layoutPath;
    LegendOptions options;
    LegendPainter::SetLocalePageSize(options);
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--legend") {
            if (!hasValue || output)
                return Usage(Resources::String("legend.cli.needsOutput"));
            output = arguments[++i];
        } else if (argument == "--pitch" || argument == "--margin") {
            const bool pitch = argument == "--pitch";
            const double low = pitch ? kMinPitchMm : 0.0;
            const double high = pitch ? kMaxPitchMm : kMaxMarginMm;
            const std::optional<double> value =
                hasValue ? Millimetres(arguments[++i], low, high) : std::nullopt;
            if (!value)
                return Usage(
                    Resources::String("legend.cli.badSize").arg(Text(argument)).arg(low).arg(high));
            (pitch ? options.pitchMm : options.marginMm) = *value;
        } else if (argument == "--arrange") {
            const std::string how = hasValue ? arguments[++i] : std::string();
            if (how == "keyboard")
                options.arrangement = LegendArrangement::Keyboard;
            else if (how == "packed")
                options.arrangement = LegendArrangement::Packed;
            else
                return Usage(Resources::String("legend.cli.badArrangement"));
        } else if (argument == "--all-keys") {
            options.onlyProgrammed = false;
        } else if (argument == "--code-names") {
            options.showCodeNames = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return Usage(Resources::String("legend.cli.unknownOption").arg(Text(argument)));
        } else if (layoutPath.empty()) {
            layoutPath = argument;
        } else {
            return Usage(Resources::String("legend.cli.oneLayout"));
        }
    }
    const std::filesystem::path outputPath = PathOf(output.value_or(std::string()));
    if (LegendPainter::FormatOf(outputPath) == LegendPainter::Format::Unknown)
        return Usage(Resources::String("legend.cli.badFormat").arg(Text(output.value_or(""))));
    if (layoutPath.empty())
        return Usage(Resources::String("legend.cli.needsLayout"));
    if (options.marginMm > zr4700::MaxMarginMm(options.pitchMm))
        return Usage(Resources::String("legend.cli.badSize")
                         .arg(QStringLiteral("--margin"))
                         .arg(0)
                         .arg(zr4700::MaxMarginMm(options.pitchMm)));

    // Read as File > Open reads it: only a regular file, never waiting on it, no larger than
    // any layout, and refused when it holds no key line.
    Layout layout;
    layout.fileName = layoutPath;
    std::string reason;
    if (ReadLayoutFile(layout, nullptr, reason) != ReadResult::Read) {
        Complain(Resources::String("legend.cli.cannotRead")
                     .arg(Text(layoutPath), QString::fromStdString(reason)));
        return kFailed;
    }
    layout.RebuildCellGroups(Prompts::Instance());

    options.footer = LegendPainter::FooterFor(Text(layoutPath));
    const LegendSheet sheet = ComputeLegendSheet(layout, options);
    if (sheet.capCount() == 0) {
        Complain(Resources::String("legend.cli.nothingToPrint").arg(Text(layoutPath)));
        return kFailed;
    }
    const QString error = LegendPainter::Export(sheet, outputPath);
    if (!error.isEmpty()) {
        Complain(error);
        return kFailed;
    }
    return 0;
}

} // namespace LegendCommandLine
