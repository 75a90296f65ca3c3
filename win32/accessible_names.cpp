#include "win32/shell.h"

// The property GUIDs are defined here, in the one file that uses them.
#include <initguid.h>
#include <oleacc.h>

#include "win32/wide.h"

namespace horatta::shell {

namespace {

// A screen reader hears of a changed name at most this often: the time changes every second.
constexpr std::int64_t nameIntervalMs = 1000;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

AccessibleNames::~AccessibleNames() {
    if (properties) properties->Release();
}

// Something asked one of the windows for its accessible object: from now on the names are
// kept current. Until then nothing is named, and no event goes out.
void Shell::accessibilityAsked() {
    if (accessible_.asked) return;
    accessible_.asked = true;
    // Annotations where the system has them (not every Wine does); the windows' texts always.
    void* service = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   &service)))
        accessible_.properties = static_cast<IAccPropServices*>(service);
    // The time fields are drawn by the clock, so their window texts are free to name them;
    // the edit controls' texts are what they hold, so they are named by annotation.
    SetWindowTextW(window(form_->shutdownFieldId()), L"Power-off time");
    SetWindowTextW(window(form_->reminderFieldId()), L"Reminder time");
    if (accessible_.properties) {
        accessible_.properties->SetHwndPropStr(window(ControlId::Text2), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                               L"Memo");
        accessible_.properties->SetHwndPropStr(window(ControlId::Text1), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                               L"Reminder message");
    }
    syncAccessibleNames();
}

// The face and the clock window are named by what the face shows (the time, the countdown,
// the memo or the reminder text, also while it blinks) and described by the date tool-tip.
void Shell::syncAccessibleNames() {
    if (!accessible_.asked) return;
    const std::string& name = form_->Label1.caption();
    const std::string description = trimmed(form_->Label1.ToolTipText);
    if (name == accessible_.name && description == accessible_.description) return;
    const std::int64_t now = steadyNowMs();
    if (accessible_.namedAtMs && now - *accessible_.namedAtMs < nameIntervalMs) {
        SetTimer(form1_, accessibleNameTimerId, static_cast<UINT>(nameIntervalMs - (now - *accessible_.namedAtMs)),
                 nullptr);
        return;
    }
    KillTimer(form1_, accessibleNameTimerId);
    accessible_.namedAtMs = now;
    const std::wstring wideName = widen(name), wideDescription = widen(description);
    if (name != accessible_.name) {
        // The system tells listeners of a changed window text itself.
        SetWindowTextW(window(ControlId::Picture1), wideName.c_str());
        if (accessible_.properties) {
            accessible_.properties->SetHwndPropStr(form1_, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                                   wideName.c_str());
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, form1_, OBJID_CLIENT, CHILDID_SELF);
        }
    }
    if (description != accessible_.description && accessible_.properties) {
        for (HWND hwnd : {form1_, window(ControlId::Picture1)}) {
            accessible_.properties->SetHwndPropStr(hwnd, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                                                   wideDescription.c_str());
            NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
        }
    }
    accessible_.name = name;
    accessible_.description = description;
}

}  // namespace horatta::shell
