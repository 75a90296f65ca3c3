#include "window/form1.h"

namespace horatta {

const std::string_view defaultMemo =
    "Press time: left colour, right skin. Click: memo. Double-click time: power-off, face: reminder. "
    "Double-click left edge: quit.";

namespace {

PictureBox makePictureBox(ControlId id, ControlId container, float left, float top, float width, float height,
                      bool visible, int tabIndex, Color back, Image picture) {
    PictureBox box;
    box.id = id;
    box.container = container;
    box.Left = left;
    box.Top = top;
    box.Width = width;
    box.Height = height;
    box.Visible = visible;
    box.TabIndex = tabIndex;
    box.BackColor = back;
    box.Picture = picture;
    return box;
}

void place(Control& c, ControlId id, ControlId container, float left, float top, float width, float height,
           bool visible, int tabIndex) {
    c.id = id;
    c.container = container;
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    c.Visible = visible;
    c.TabIndex = tabIndex;
}

}  // namespace

Form1::Form1(Build build, Platform& platform) : build_(build), platform_(platform) {
    const Color black = Color::rgb(0, 0, 0);
    Picture1 = makePictureBox(ControlId::Picture1, ControlId::Form1, 0, 10, 995, 292, true, 0, Color::system(colorWindowText),
                          Image::Skin8);
    Picture2 = makePictureBox(ControlId::Picture2, ControlId::Form1, 0, 0, 995, 292, true, 5, black, Image::None);
    Picture3 = makePictureBox(ControlId::Picture3, ControlId::Form1, 0, 720, 975, 255, false, 7, black, Image::Skin3);
    Picture4 = makePictureBox(ControlId::Picture4, ControlId::Form1, 0, 720, 975, 255, false, 8, black, Image::Skin4);
    Picture5 = makePictureBox(ControlId::Picture5, ControlId::Form1, 0, 720, 855, 255, false, 9, black, Image::Skin5);
    Picture6 = makePictureBox(ControlId::Picture6, ControlId::Form1, 0, 720, 855, 255, false, 12, black, Image::Skin6);
    Picture7 = makePictureBox(ControlId::Picture7, ControlId::Picture6, 0, 1500, 855, 255, false, 13, black, Image::Skin7);
    Picture8 = makePictureBox(ControlId::Picture8, ControlId::Form1, 0, 720, 855, 255, false, 14, black, Image::Skin8);
    Picture9 = makePictureBox(ControlId::Picture9, ControlId::Picture8, 0, 1500, 855, 255, false, 15, black, Image::Skin9);

    TextMeasure measure = [this](const std::string& text) { return platform_.textWidth(text); };
    place(Label3, ControlId::Label3, ControlId::Picture1, 0, 0, 150, 220, true, 10);
    Label3.ForeColor = Color::rgb(255, 0, 0);
    Label3.setMeasure(measure);
    place(Label1, ControlId::Label1, ControlId::Picture1, 150, 15, 285, 195, true, 1);
    Label1.ForeColor = Color::rgb(255, 0, 0);
    Label1.setMeasure(measure);
    Label1.setCaption("time");
    Label1.setAutoSize(true);
    place(Label2, ControlId::Label2, ControlId::Form1, 0, 720, 855, 255, true, 4);
    Label2.setCaption("Label2");

    place(Text1, ControlId::Text1, ControlId::Form1, 0, 360, 995, 285, false, 2);
    Text1.BackColor = Color::rgb(224, 224, 224);
    Text1.ForeColor = Color::system(colorDesktop);
    place(Text2, ControlId::Text2, ControlId::Form1, 0, 0, 995, 285, false, 11);
    Text2.BackColor = Color::rgb(192, 192, 255);
    Text2.ForeColor = Color::system(colorActiveCaption);

    if (build_ == Build::Masked) {
        shutdownField_ = std::make_unique<MaskedTimeField>();
        reminderField_ = std::make_unique<MaskedTimeField>();
        place(*shutdownField_, ControlId::MaskEdBox1, ControlId::Form1, 185, 50, 660, 200, false, 3);
        place(*reminderField_, ControlId::MaskEdBox2, ControlId::Form1, 185, 335, 700, 200, false, 6);
    } else {
        shutdownField_ = std::make_unique<PlainTimeField>();
        reminderField_ = std::make_unique<PlainTimeField>();
        // Skipped by the Tab key: the blink alone hands them the focus.
        place(*shutdownField_, ControlId::Text3, ControlId::Form1, 185, 50, 660, 200, false, -1);
        place(*reminderField_, ControlId::Text4, ControlId::Form1, 185, 335, 700, 200, false, -1);
        shutdownField_->setText("Text3");
        reminderField_->setText("Text4");
    }
    shutdownField_->ForeColor = Color::rgb(255, 192, 192);
    shutdownField_->BackColor = black;
    reminderField_->ForeColor = Color::rgb(0, 255, 255);
    reminderField_->BackColor = black;
}

Form1::~Form1() = default;

PictureBox& Form1::pictureBox(ControlId id) {
    switch (id) {
        case ControlId::Picture1: return Picture1;
        case ControlId::Picture2: return Picture2;
        case ControlId::Picture3: return Picture3;
        case ControlId::Picture4: return Picture4;
        case ControlId::Picture5: return Picture5;
        case ControlId::Picture6: return Picture6;
        case ControlId::Picture7: return Picture7;
        case ControlId::Picture8: return Picture8;
        case ControlId::Picture9: return Picture9;
        default: break;
    }
    return Picture1;
}

const Control& Form1::control(ControlId id) const {
    switch (id) {
        case ControlId::Label1: return Label1;
        case ControlId::Label2: return Label2;
        case ControlId::Label3: return Label3;
        case ControlId::Text1: return Text1;
        case ControlId::Text2: return Text2;
        case ControlId::MaskEdBox1:
        case ControlId::Text3: return *shutdownField_;
        case ControlId::MaskEdBox2:
        case ControlId::Text4: return *reminderField_;
        default: break;
    }
    return const_cast<Form1*>(this)->pictureBox(id);
}

std::array<ControlId, 6> Form1::stackingOrder() const {
    using C = ControlId;
    if (build_ == Build::Masked) return {C::Text2, C::MaskEdBox1, C::Text1, C::Picture1, C::MaskEdBox2, C::Picture2};
    return {C::Text4, C::Text3, C::Text2, C::Text1, C::Picture1, C::Picture2};
}

}  // namespace horatta
