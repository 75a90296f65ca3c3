// Prints the accessible name of the running clock's window and of each of its child windows,
// one a line ("class: name"), as a screen reader reads them through the system's accessibility.
#include <windows.h>

#include <initguid.h>
#include <oleacc.h>

#include <cstdio>

namespace {

void print(HWND hwnd) {
    wchar_t type[64] = L"";
    GetClassNameW(hwnd, type, 64);
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    if (SUCCEEDED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
        object->get_accName(self, &name);
    std::printf("%ls: %ls\n", type, name ? name : L"");
    if (name) SysFreeString(name);
    if (object) object->Release();
}

BOOL CALLBACK child(HWND hwnd, LPARAM) {
    print(hwnd);
    return TRUE;
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    HWND clock = FindWindowW(L"HorattaForm1", nullptr);
    if (!clock) return 1;
    print(clock);
    EnumChildWindows(clock, child, 0);
    return 0;
}
