// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "desktop/application.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QString>
#include <QtGlobal>

#include "desktop/display_probe.h"
#include "desktop/qt_values.h"

namespace vantu {

namespace detail {

bool isSet(const char* variable) {
    return !qEnvironmentVariableIsEmpty(variable);
}

std::string valueOf(const char* variable) {
    return qEnvironmentVariable(variable).toStdString();
}

// The plugin names of a platform list such as "wayland;xcb:option", in order.
std::vector<std::string_view> platformNames(std::string_view platform) {
    std::vector<std::string_view> names;
    // Each entry is a plugin's name, possibly followed by ':' and its options.
    for (std::size_t start = 0; start <= platform.size();) {
        const std::size_t end = std::min(platform.find(';', start), platform.size());
        const std::string_view entry = platform.substr(start, end - start);
        if (const std::string_view name = entry.substr(0, entry.find(':')); !name.empty()) {
            names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

}  // namespace detail

namespace {

using detail::isSet;
using detail::valueOf;

std::string lowerCase(std::string_view text) {
    return qText(text).toLower().toStdString();
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) {
            text += separator;
        }
        text += part;
    }
    return text;
}

// The names of the platform plugins Qt finds, in lower case and sorted: those in `pluginPath`
// and in the folder "platforms" of each of Qt's plugin folders.
std::vector<std::string> availablePlatforms(const std::string& pluginPath) {
    QStringList folders;
    if (!pluginPath.empty()) {
        folders.append(QString::fromLocal8Bit(pluginPath));
    }
    for (const QString& path : QCoreApplication::libraryPaths()) {
        folders.append(path + QStringLiteral("/platforms"));
    }
    std::vector<std::string> names;
    for (const QString& folder : folders) {
        for (QDirIterator it(folder, QDir::Files); it.hasNext();) {
            // Read from the file's metadata, without loading the plugin.
            const QJsonArray keys = QPluginLoader(it.next())
                                        .metaData()
                                        .value(QStringLiteral("MetaData"))
                                        .toObject()
                                        .value(QStringLiteral("Keys"))
                                        .toArray();
            for (const auto& key : keys) {
                names.push_back(key.toString().toLower().toStdString());
            }
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// A message Qt gave while the application was starting.
struct HeldMessage {
    QtMsgType type;
    std::string file;
    int line;
    std::string function;
    std::string category;
    QString text;
};

struct StartState {
    std::mutex mutex;
    std::vector<HeldMessage> held;
    const CommandLineNeeds* needs = nullptr;
};

StartState& startState() {
    static StartState state;
    return state;
}

std::string copyOf(const char* text) {
    return text == nullptr ? std::string() : std::string(text);
}

// Holds back Qt's messages while the application starts; turns its fatal one into a line.
void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    StartState& state = startState();
    if (type == QtFatalMsg) {
        // Qt's own words when a platform did start and something else failed.
        const std::string why = QGuiApplication::platformName().isEmpty()
                                    ? platformFailure(*state.needs)
                                    : text.section(u'\n', 0, 0).toStdString();
        std::fprintf(stderr, "vantu: %s\n", why.c_str());
        std::_Exit(1);
    }
    const std::scoped_lock lock(state.mutex);
    state.held.push_back({type, copyOf(context.file), context.line, copyOf(context.function),
                          copyOf(context.category), text});
}

const char* orNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

void checkStandardOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "vantu: cannot write to the standard output: %s\n",
                     std::strerror(errno));
        std::_Exit(1);
    }
}

}  // namespace

void prepareApplication() {
    if (!isSet("QT_NO_GLIB")) {
        qputenv("QT_NO_GLIB", "1");
    }
}

CommandLineNeeds commandLineNeeds(int argc, const char* const argv[]) {
    CommandLineNeeds needs;
    needs.platform = valueOf("QT_QPA_PLATFORM");
    needs.pluginPath = valueOf("QT_QPA_PLATFORM_PLUGIN_PATH");
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v") {
            needs.textOnly = true;
            needs.helpAll = needs.helpAll || arg == "--help-all";
        } else if ((arg == "-platform" || arg == "--platform") && i + 1 < argc) {
            needs.platform = argv[++i];
            needs.platformOption = true;
        } else if ((arg == "-platformpluginpath" || arg == "--platformpluginpath") &&
                   i + 1 < argc) {
            needs.pluginPath = argv[++i];
        }
    }
    return needs;
}

std::unique_ptr<QApplication> startApplication(int& argc, char** argv,
                                               const CommandLineNeeds& needs) {
    StartState& state = startState();
    state.needs = &needs;
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    // QApplication sets the C library's locale from the environment, which would make printf
    // write the facts' and the labels' numbers with a German comma; the boxes that should follow
    // the user's locale use QLocale, which this does not touch.
    std::setlocale(LC_NUMERIC, "C");
    qInstallMessageHandler(previous);
    const std::scoped_lock lock(state.mutex);
    for (const HeldMessage& message : state.held) {
        const QMessageLogContext context(orNull(message.file), message.line,
                                         orNull(message.function), message.category.c_str());
        previous(message.type, context, message.text);
    }
    state.held.clear();
    return app;
}

std::string platformFailure(const CommandLineNeeds& needs) {
    std::vector<std::string> names;
    for (const std::string_view name : detail::platformNames(needs.platform)) {
        names.emplace_back(name);
    }
    if (names.empty()) {
        names = detail::defaultPlatforms();
        if (names.empty()) {
            return "cannot open a display: " + *missingDisplay("");
        }
    }
    const std::vector<std::string> available = availablePlatforms(needs.pluginPath);
    const auto exists = [&available](const std::string& name) {
        return std::binary_search(available.begin(), available.end(), lowerCase(name));
    };
    if (std::none_of(names.begin(), names.end(), exists)) {
        return "no such window platform: " + joined(names, ", ") +
               " (available: " + joined(available, ", ") + ")";
    }
    std::vector<std::string> reasons;
    for (const std::string& name : names) {
        const std::string plugin = lowerCase(name);
        std::string reason =
            !exists(name) ? "no such window platform: " + name : detail::platformProblem(plugin);
        reasons.push_back(reason.empty() ? "the window platform " + name + " did not start"
                                         : std::move(reason));
    }
    return "cannot open a display: " + joined(reasons, "; ");
}

void checkStandardOutputAtExit() {
    std::atexit(checkStandardOutput);
}

}  // namespace vantu
