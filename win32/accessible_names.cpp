#include "win32/shell.h"

// The property GUIDs are defined here, in the one file that uses them.
#include <initguid.h>
#include <oleacc.h>

#include "win32/wide.h"

namespace horatta::shell {

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
    for (ControlId field : {form_->shutdownFieldId(), form_->reminderFieldId()})
        SetWindowTextW(window(field), widen(fieldName(*form_, field)).c_str());
    if (accessible_.properties)
        for (ControlId box : {ControlId::Text2, ControlId::Text1})
            accessible_.properties->SetHwndPropStr(window(box), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                                   widen(fieldName(*form_, box)).c_str());
    syncAccessibleNames();
}

// The face and the clock window are named by what the face shows, also while it blinks, and
// described by the date tool-tip.
void Shell::syncAccessibleNames() {
    if (!accessible_.asked) return;
    const std::string name = spokenName(*form_);
    const std::string description = spokenDescription(*form_);
    if (name == accessible_.name && description == accessible_.description) return;
    const std::int64_t now = steadyNowMs();
    if (const std::int64_t wait = accessible_.pace.waitMs(now); wait > 0) {
        SetTimer(form1_, accessibleNameTimerId, static_cast<UINT>(wait), nullptr);
        return;
    }
    KillTimer(form1_, accessibleNameTimerId);
    accessible_.pace.announced(now);
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
