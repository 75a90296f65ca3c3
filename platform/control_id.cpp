#include "platform/platform.h"

namespace horatta {

const char* controlName(ControlId id) {
    switch (id) {
        case ControlId::Form1: return "Form1";
        case ControlId::Form2: return "Form2";
        case ControlId::Picture1: return "Picture1";
        case ControlId::Picture2: return "Picture2";
        case ControlId::Picture3: return "Picture3";
        case ControlId::Picture4: return "Picture4";
        case ControlId::Picture5: return "Picture5";
        case ControlId::Picture6: return "Picture6";
        case ControlId::Picture7: return "Picture7";
        case ControlId::Picture8: return "Picture8";
        case ControlId::Picture9: return "Picture9";
        case ControlId::Label1: return "Label1";
        case ControlId::Label2: return "Label2";
        case ControlId::Label3: return "Label3";
        case ControlId::Text1: return "Text1";
        case ControlId::Text2: return "Text2";
        case ControlId::Text3: return "Text3";
        case ControlId::Text4: return "Text4";
        case ControlId::MaskEdBox1: return "MaskEdBox1";
        case ControlId::MaskEdBox2: return "MaskEdBox2";
    }
    return "?";
}

}  // namespace horatta
