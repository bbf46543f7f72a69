// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu: the Vantu window, or with --explore the Explorer alone. Takes Qt's own options, --help,
// --help-all, --version, --explore and, with --explore, vantu-render's drawing options, and
// nothing else.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDirIterator>
#include <QIcon>
#include <QSettings>

#include "desktop/application.h"
#include "drawing/draw_procedure.h"
#include "explorer/explorer.h"
#include "explorer/render_command.h"
#include "export/process.h"
#include "geometry/draw_error.h"
#include "options/option_kinds.h"
#include "options/picture_options.h"
#include "render/kernel_variant.h"
#include "window/form1.h"

namespace {

// Where each Explorer finds the size, place and docks the last one closed with:
// ~/.config/vantu/vantu.conf on Linux.
std::shared_ptr<QSettings> explorerSettings() {
    return std::make_shared<QSettings>(QSettings::UserScope, QStringLiteral("vantu"),
                                       QStringLiteral("vantu"));
}

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Vantu"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTU_VERSION));
}

// Ends the program with status 2 for a command line it cannot take, saying why as vantu-render
// does.
[[noreturn]] void refuseCommandLine(const std::string& message) {
    std::fprintf(stderr, "vantu: %s\nTry 'vantu --help' for more information.\n", message.c_str());
    std::exit(2);
}

// vantu's own options: --explore and vantu-render's drawing options (options/), which only
// --explore takes. They are read before Qt sees the command line, since Qt would take --reverse
// as its own option for right-to-left layouts.
class OwnOptions {
public:
    OwnOptions() {
        m_app.set_help_flag();  // --help is Qt's, with Qt's options
        m_app.allow_extras();   // Qt's options and anything else stay, in their order
        m_app.option_defaults()
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
            ->disable_flag_override();
        m_explore = vantu::options::addFlag(
            m_app,
            {"--explore", "",
             "Open the Explorer alone: a window whose sphere turns under the mouse, at the picture "
             "the drawing options describe. Closing it ends the program."},
            m_exploring);
        (void)vantu::options::addDrawingOptions(m_app, m_picture);
        for (CLI::Option* option : m_app.get_options()) {
            if (option != m_explore) {
                option->description("With --explore: " + option->get_description() + ".");
                option->needs(m_explore);
            }
        }
    }

    // Reads vantu's own options from the arguments after the program name and returns the
    // others, in their order. A value the options refuse, or a drawing option without
    // --explore, ends the program with status 2 and vantu-render's message.
    [[nodiscard]] std::vector<std::string> take(const std::vector<std::string>& args) {
        std::vector<std::string> unread(args.rbegin(), args.rend());  // CLI11 takes from the back
        try {
            m_app.parse(unread);
        } catch (const CLI::ParseError& error) {
            refuseCommandLine(error.what());
        }
        return m_app.remaining();
    }

    // The options as the help lists them, in their order.
    [[nodiscard]] std::vector<QCommandLineOption> helpEntries() const {
        std::vector<QCommandLineOption> entries;
        for (const CLI::Option* option : m_app.get_options()) {
            QStringList names;
            for (const std::string& name : option->get_lnames()) {
                names << QString::fromStdString(name);
            }
            entries.emplace_back(names, QString::fromStdString(option->get_description()),
                                 option->get_type_size() == 0
                                     ? QString()
                                     : QString::fromStdString(option->get_type_name()));
        }
        return entries;
    }

    [[nodiscard]] bool exploring() const noexcept { return m_exploring; }

    // The picture the Explorer opens with. Throws DrawError as describedPicture does.
    [[nodiscard]] vantu::PictureDescription opening() const {
        return vantu::options::describedPicture(m_picture);
    }

private:
    CLI::App m_app{"", "vantu"};
    vantu::options::PictureOptions m_picture;
    bool m_exploring = false;
    CLI::Option* m_explore = nullptr;
};

// Reads the rest of the command line; shows the help or the version and exits when asked to.
// Exits with status 2 for an option it does not know or an argument that is not an option,
// whatever else the line asks for.
void processCommandLine(const QCoreApplication& app, const OwnOptions& own) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints the sphere seen through a kaleidoscope of three mirrors."));
    // Qt's options are words after one dash, such as -platform.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    // Read already, listed in the help.
    for (const QCommandLineOption& entry : own.helpEntries()) {
        parser.addOption(entry);
    }
    // Qt's own option, which the window's QApplication has already taken; without a window it
    // is accepted all the same.
    QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("NAME"));
    platform.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(platform);
    const QStringList arguments = QCoreApplication::arguments();
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString& arg : arguments.mid(1)) {
            const QString name = arg.section(u'=', 0, 0);
            if (!unknown.isEmpty() && arg.startsWith(u'-') &&
                (name == u'-' + unknown.front() ||
                 name == QStringLiteral("--") + unknown.front())) {
                refuseCommandLine("unknown option " + vantu::options::inQuotes(arg.toStdString()));
            }
        }
        refuseCommandLine(parser.errorText().toStdString());
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vantu: takes no arguments: %s\n",
                     qPrintable(parser.positionalArguments().join(u' ')));
        std::exit(2);
    }
    parser.process(app);
}

}  // namespace

int main(int argc, char* argv[]) {
    vantu::prepareProcess();
    // The help and the version are printed by Qt, which then exits.
    vantu::checkStandardOutputAtExit();
    // vantu's own options out, the rest for Qt: argv[0] and the others, in their order.
    OwnOptions own;
    std::vector<std::string> rest = own.take(vantu::programArguments(argc, argv));
    rest.insert(rest.begin(), argv[0]);
    std::vector<char*> restArgv;
    for (std::string& arg : rest) {
        restArgv.push_back(arg.data());
    }
    restArgv.push_back(nullptr);
    int restArgc = static_cast<int>(rest.size());
    char** const args = restArgv.data();

    const vantu::CommandLineNeeds needs = vantu::commandLineNeeds(restArgc, args);
    if (needs.textOnly) {
        if (needs.helpAll && (!needs.platformOption || !vantu::missingDisplay(needs.platform))) {
            // Qt's options for windows are those of a QApplication, which needs no screen on
            // the offscreen platform.
            if (!needs.platformOption) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            const auto app = vantu::startApplication(restArgc, args, needs);
            nameApplication();
            processCommandLine(*app, own);
            return 0;
        }
        const QCoreApplication app(restArgc, args);
        nameApplication();
        processCommandLine(app, own);
        return 0;
    }
    vantu::PictureDescription opening;
    try {
        opening = own.opening();
    } catch (const vantu::DrawError& e) {
        std::fprintf(stderr, "vantu: %s\n", e.what());
        return 1;
    }
    if (const auto problem = vantu::missingDisplay(needs.platform)) {
        std::fprintf(stderr, "vantu: cannot open a display: %s\n", problem->c_str());
        return 1;
    }
    if (const auto problem = vantu::kernelChoiceError()) {
        std::fprintf(stderr, "vantu: %s\n", problem->c_str());
        return 1;
    }
    vantu::prepareApplication();
    const auto app = vantu::startApplication(restArgc, args, needs);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("vantu"));
    // The start-up picture in each size the build made of it (vantu_icon, from packaging/).
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/icons")); it.hasNext();) {
        icon.addFile(it.next());
    }
    QApplication::setWindowIcon(icon);
    processCommandLine(*app, own);

    if (own.exploring()) {
        // The picture the options describe; closing the Explorer, the last window, ends the
        // program.
        vantu::explorer::Explorer explorer(opening);
        explorer.setCommandText(vantu::explorer::renderCommandLine);
        explorer.keepLayoutIn(explorerSettings());
        explorer.show();
        return QApplication::exec();
    }
    vantu::Form1 form;
    // Each Explorer opened from the main window is a window of its own that goes when it is
    // closed, and with the main window at the latest.
    form.setExploreHandler([&form](const vantu::DrawRequest& request) {
        auto* explorer =
            new vantu::explorer::Explorer(vantu::PictureDescription{request, {}, {}, {}}, &form);
        explorer->setAttribute(Qt::WA_DeleteOnClose);
        explorer->setCommandText(vantu::explorer::renderCommandLine);
        explorer->keepLayoutIn(explorerSettings());
        explorer->show();
    });
    form.show();
    return QApplication::exec();
}
