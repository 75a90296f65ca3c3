#include "linux/command_line.h"

#include "linux/ini_registry.h"

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
            .settings = IniRegistry::defaultFilePath().toStdString(),
            .manual = "man " + std::string(program),
            .toolkitName = "Qt",
            .toolkit = qtOptions()};
}

}  // namespace horatta::shell
