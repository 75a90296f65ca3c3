#pragma once

#include <QApplication>

namespace horatta::shell {

// The one application of the test program, made by whichever test needs it first.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "horatta_shell_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace horatta::shell
