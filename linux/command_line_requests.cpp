#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "linux/command_line_requests.h"
#include "linux/settings_registry.h"
#include "platform/desktop_entry.h"

#ifndef HORATTA_VERSION
#error "HORATTA_VERSION is the project's version, set by CMake"
#endif

namespace horatta::shell {

namespace {

// QGuiApplication's, its X11 platform's and QApplication's own options. A name ending in "="
// carries its value attached.
constexpr ToolkitOption options[] = {
    {"-platform", "NAME[:OPTIONS]"}, {"-display", "HOST:SCREEN"}, {"-geometry", "WxH+X+Y"}, {"-style", "STYLE"},
    {"-style=", ""}, {"-stylesheet", "FILE"}, {"-stylesheet=", ""}, {"-platformtheme", "NAME"},
    {"-platformpluginpath", "PATH"}, {"-plugin", "NAME"}, {"-qwindowgeometry", "WxH+X+Y"}, {"-qwindowtitle", "TITLE"},
    {"-title", "TITLE"}, {"-qwindowicon", "FILE"}, {"-icon", "FILE"}, {"-name", "NAME"}, {"-visual", "ID"},
    {"-session", "ID"}, {"-reverse", ""}, {"-nograb", ""}, {"-dograb", ""}, {"-widgetcount", ""}, {"-testability", ""},
};

}  // namespace

std::span<const ToolkitOption> qtOptions() { return options; }

HelpTexts helpTexts(std::string_view program) {
    return {.program = program,
            .settings = SettingsRegistry::defaultFilePath().toStdString(),
            .manual = "man " + std::string(program),
            .toolkitName = "Qt",
            .toolkit = qtOptions()};
}

namespace {

// The session starts what lies in the autostart folder beside the user's other configuration.
QString autostartEntry(std::string_view program) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) return {};
    return base + "/autostart/" + QString::fromUtf8(program.data(), qsizetype(program.size())) + ".desktop";
}

// The entry starts this very file, so a clock run from a build folder starts from there too.
std::optional<std::string> addAutostart(std::string_view program) {
    const QString entry = autostartEntry(program);
    if (entry.isEmpty()) return "there is no configuration folder to put the autostart entry in";
    std::error_code error;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error) self = program;
    const std::optional<std::string> text =
        horatta::autostartEntry(program, "A tiny desk clock that stays above every window", self);
    if (!text) return "the program's path cannot stand in an autostart entry: " + self;
    const QString folder = QFileInfo(entry).absolutePath();
    if (!QDir().mkpath(folder)) return "the folder " + folder.toStdString() + " could not be made";
    QSaveFile file(entry);
    if (!file.open(QIODevice::WriteOnly) || file.write(text->data(), qint64(text->size())) != qint64(text->size()) ||
        !file.commit())
        return entry.toStdString() + " could not be written: " + file.errorString().toStdString();
    return std::nullopt;
}

std::optional<std::string> removeAutostart(std::string_view program) {
    const QString entry = autostartEntry(program);
    if (entry.isEmpty() || !QFileInfo::exists(entry)) return std::nullopt;
    QFile file(entry);
    if (file.remove()) return std::nullopt;
    return entry.toStdString() + " could not be removed: " + file.errorString().toStdString();
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char** argv, std::string_view program) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const CommandLineActions actions{
        .print = [](const std::string& text) { std::fputs(text.c_str(), stdout); },
        .complain = [](const std::string& text) { std::fputs(text.c_str(), stderr); },
        .setAutostart = [program](bool on) { return on ? addAutostart(program) : removeAutostart(program); }};
    return horatta::answerCommandLine(arguments, helpTexts(program), HORATTA_VERSION, actions);
}

}  // namespace horatta::shell
