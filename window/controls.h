#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace horatta {

// A colour by its red, green and blue components, or one of the system's colours by index.
struct Color {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;
    std::int16_t systemIndex = -1;  // -1: the components apply

    static constexpr Color rgb(int r, int g, int b) {
        return Color{static_cast<std::int16_t>(r), static_cast<std::int16_t>(g), static_cast<std::int16_t>(b), -1};
    }
    static constexpr Color system(int index) { return Color{0, 0, 0, static_cast<std::int16_t>(index)}; }
    bool isSystem() const { return systemIndex >= 0; }
    bool operator==(const Color&) const = default;
};

// System colour indexes used by the window.
inline constexpr int colorDesktop = 1;
inline constexpr int colorActiveCaption = 2;
inline constexpr int colorMenu = 4;
inline constexpr int colorWindowText = 8;

// A picture a control can hold: none, or the design-time skin of one of the seven stores.
enum class Image { None, Skin3, Skin4, Skin5, Skin6, Skin7, Skin8, Skin9 };

// What every control has: a name, a container, a rectangle in twips, visibility, tab order.
struct Control {
    ControlId id;
    ControlId container;
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool Visible = true;
    int TabIndex = -1;  // -1: takes no focus
};

struct PictureBox : Control {
    Color BackColor = Color::rgb(0, 0, 0);
    Image Picture = Image::None;
};

enum class Alignment : std::int16_t { Left = 0, Right = 1, Center = 2 };

using TextMeasure = std::function<float(const std::string&)>;

// A label whose width follows its caption while AutoSize is on.
class Label : public Control {
public:
    Color ForeColor = Color::rgb(0, 0, 0);
    Alignment alignment = Alignment::Left;
    std::string ToolTipText;

    void setMeasure(TextMeasure measure) { measure_ = std::move(measure); }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);

private:
    void fit();
    std::string caption_;
    bool autoSize_ = false;
    TextMeasure measure_;
};

// A single-line text box edited by the native widget; the shell keeps Text and the
// selection in step with it.
struct TextBox : Control {
    std::string Text;
    int SelStart = 0;   // in characters
    int SelLength = 0;  // in characters
    Color ForeColor = Color::rgb(0, 0, 0);
    Color BackColor = Color::rgb(255, 255, 255);
};

// A periodic timer. The shell mirrors it onto a native timer; the observer hears of every
// change so it can restart the period.
class Timer {
public:
    Timer(bool enabled, int interval) : enabled_(enabled), interval_(interval) {}
    bool enabled() const { return enabled_; }
    int interval() const { return interval_; }
    void setEnabled(bool on);
    void setInterval(int ms);
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    bool enabled_;
    int interval_;
    std::function<void()> observer_;
};

}  // namespace horatta
