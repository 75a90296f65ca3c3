#include "win32/win32.h"
#include <commctrl.h>
#include <ole2.h>

#include "win32/command_line_requests.h"
#include "win32/shell.h"
#include "win32/single_instance.h"

#ifndef HORATTA_PLAIN
#define HORATTA_PLAIN 0
#endif

// horatta has masked time fields, horatta-t plain ones; everything else is shared.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (const auto status = horatta::shell::answerCommandLine(HORATTA_PLAIN ? "horatta-t" : "horatta")) return *status;
    if (!horatta::shell::becomeTheOnlyClock(HORATTA_PLAIN ? "horatta-t" : "horatta")) return 0;
    const wchar_t* const title = HORATTA_PLAIN ? L"horatta-t" : L"horatta";
    // The skins are decoded through OLE's picture loader.
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxW(nullptr, L"The system's picture loader (OLE) could not be started.", title, MB_ICONERROR);
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        horatta::shell::Shell shell(instance, HORATTA_PLAIN ? horatta::Build::Plain : horatta::Build::Masked);
        return shell.run();
    } catch (const horatta::shell::StartFailure& failure) {
        MessageBoxW(nullptr, failure.what.c_str(), title, MB_ICONERROR);
        return 1;
    }
}
