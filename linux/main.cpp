// horatta and horatta-t: one source, built twice with a different kind of time field.
#include <QApplication>

#include "linux/command_line_requests.h"
#include "linux/first_frame.h"
#include "linux/look.h"
#include "linux/shell.h"
#include "linux/single_instance.h"

#ifndef HORATTA_BUILD
#error "HORATTA_BUILD names the build: Masked or Plain"
#endif

int main(int argc, char** argv) {
    constexpr horatta::Build build = horatta::Build::HORATTA_BUILD;
    constexpr const char* program = build == horatta::Build::Masked ? "horatta" : "horatta-t";
    if (const auto status = horatta::shell::answerCommandLine(argc, argv, program)) return *status;
    // The clock places itself and (later) grabs a global key, which only X11 allows; on a
    // Wayland desktop it runs through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    // A frame of the strip is a few kilobytes: sent in the request itself it costs less than
    // shared memory does, which wakes the clock once more per frame to hear the copy is done.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    // The strip is 1000 x 300 twips at a screen's own scale: 1.5 on a 144 dpi screen, not that
    // scale rounded to 2 (a third too large) or to 1 (a third too small). Nothing is soft for
    // it: skins and text are drawn in the screen's own pixels (QT_SCALE_FACTOR_ROUNDING_POLICY
    // still decides where it is set).
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    QApplication::setApplicationName(program);
    if (!horatta::shell::becomeTheOnlyClock()) return 0;
    QApplication::setQuitOnLastWindowClosed(false);
    // Reading the icon loads Qt's image plugins: not worth the first frame's time.
    horatta::shell::first_frame::after([] { QApplication::setWindowIcon(horatta::shell::windowIcon()); });
    return horatta::shell::runClock(build);
}
