#include "win32/command_line_requests.h"

#include "win32/win32.h"
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/command_line.h"
#include "settings/setting_names.h"
#include "win32/wide.h"

#ifndef HORATTA_VERSION
#error "HORATTA_VERSION is the project's version, set by CMake"
#endif

namespace horatta::shell {

namespace {

// The user's own log-in list, which the installer's option writes too.
constexpr wchar_t runKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::string> setAutostart(std::string_view program, bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, runKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return "the log-in list in the registry could not be opened";
    const std::wstring name = widen(program);
    LSTATUS status;
    if (on) {
        wchar_t path[MAX_PATH * 2];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
        const std::wstring command = L"\"" + std::wstring(path, length) + L"\"";
        status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
        status = RegDeleteValueW(key, name.c_str());
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (status == ERROR_SUCCESS) return std::nullopt;
    return on ? "the log-in entry could not be written" : "the log-in entry could not be removed";
}

// Standard output when there is one, else a message box: a GUI program has no console.
void tell(std::string_view program, const std::string& text, bool error) {
    const HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    std::string lines;  // as Windows' own tools end them
    for (const char c : text) lines += c == '\n' ? "\r\n" : std::string(1, c);
    if (out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
        WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr))
        return;
    MessageBoxW(nullptr, widen(text).c_str(), widen(program).c_str(), error ? MB_ICONERROR : MB_ICONINFORMATION);
}

}  // namespace

std::optional<int> answerCommandLine(std::string_view program) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) arguments.push_back(narrow(wide[i]));
    if (wide) LocalFree(wide);

    const std::string key(settingsPath);
    const HelpTexts texts{.program = program,
                          .settings = "HKEY_LOCAL_MACHINE\\" + key + " in the registry, or\n  HKEY_CURRENT_USER\\" + key +
                                      " for a user who may not write there",
                          .manual = {},
                          .toolkitName = {},
                          .toolkit = {}};
    const CommandLineActions actions{
        .print = [program](const std::string& text) { tell(program, text, false); },
        .complain = [program](const std::string& text) { tell(program, text, true); },
        .setAutostart = [program](bool on) { return setAutostart(program, on); }};
    return horatta::answerCommandLine(arguments, texts, HORATTA_VERSION, actions);
}

}  // namespace horatta::shell
