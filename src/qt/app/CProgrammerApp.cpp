#include "qt/app/CProgrammerApp.h"

#include "core/files/RecentFileList.h"
#include "qt/app/CProgrammerDlg.h"
#include "qt/platform/Prompts.h"
#include "qt/platform/Resources.h"
#include "qt/widgets/DialogUnits.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// The full path of a file named on the command line, as the open dialog would give it, so the
// recent list stays valid.
std::string FullPath([[maybe_unused]] const QString& argument,
                     [[maybe_unused]] const std::string& rawArgument) {
#ifdef _WIN32
    return QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath()).toStdString();
#else
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(rawArgument, error);
    return (error ? std::filesystem::path(rawArgument) : full).lexically_normal().string();
#endif
}

} // namespace

int CProgrammerApp::InitInstance(const QStringList& arguments,
                                 const std::vector<std::string>& rawArguments) {
    // The recent-file list lives per user under "Valmora" and the executable's base name.
    QApplication::setOrganizationName(QString::fromUtf8(zr4700::kProfileKey));
    QApplication::setApplicationName(
        QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    Resources::LoadReplacementBundle(QApplication::applicationDirPath());
    QApplication::setFont(DialogFont());

    QString screenshotPath;
    QString fileToOpen;
    std::string rawFileToOpen;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            screenshotPath = arguments.at(++i);
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            std::fputs(qPrintable(Resources::String("app.cli.help")), stdout);
            return 0;
        } else if (argument == QLatin1String("--version")) {
            std::fputs(
                qPrintable(
                    Resources::String("app.cli.version").arg(QStringLiteral(ZR4700_VERSION))),
                stdout);
            return 0;
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            // An option the program does not know is no file to open and put on the recent list.
            std::fputs(qPrintable(Resources::String("app.cli.unknownOption").arg(argument)),
                       stderr);
            return 2;
        } else if (fileToOpen.isEmpty()) {
            fileToOpen = argument;
            if (static_cast<std::size_t>(i) < rawArguments.size())
                rawFileToOpen = rawArguments[static_cast<std::size_t>(i)];
        }
    }
    if (!screenshotPath.isEmpty())
        Prompts::Instance().SetMode(Prompts::Mode::Headless);

    CProgrammerDlg dialog;
    QApplication::setWindowIcon(dialog.appIcon);
    const std::string pathToOpen =
        fileToOpen.isEmpty() ? std::string() : FullPath(fileToOpen, rawFileToOpen);
    const auto openFile = [&dialog, pathToOpen] { dialog.fileCommands.OpenPath(pathToOpen); };
    if (!screenshotPath.isEmpty()) {
        if (!fileToOpen.isEmpty())
            openFile();
        dialog.show();
        QApplication::processEvents();
        const QPixmap picture = dialog.grab();
        if (!picture.save(screenshotPath)) {
            std::fprintf(stderr, "zr4700: cannot write %s\n", qPrintable(screenshotPath));
            return 1;
        }
        return 0;
    }
    // The file is opened once the window is up, so that a message about it stands over the
    // window rather than alone on the screen.
    if (!fileToOpen.isEmpty())
        QTimer::singleShot(0, &dialog, openFile);
    dialog.exec();
    return 0;
}
