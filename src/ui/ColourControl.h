#pragma once

#include <QColor>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace qpx::ui {

// 0x00RRGGBB, or kDefaultColour: whatever the platform would use for this kind of control.
using ColourValue = std::uint32_t;
inline constexpr ColourValue kDefaultColour = 0xFF000000u;

constexpr ColourValue Rgb(int red, int green, int blue) {
    return (static_cast<ColourValue>(red & 0xFF) << 16) |
           (static_cast<ColourValue>(green & 0xFF) << 8) | static_cast<ColourValue>(blue & 0xFF);
}

QColor ToQColor(ColourValue value);

// The kind of element the platform is about to draw.
enum class ColourElement { MessageBox, Edit, ListBox, Button, Dialog, ScrollBar, Static };

// What a colour control is drawn with. `platform`: the control is left exactly as the platform
// draws it, and the colours mean nothing.
struct ControlColours {
    bool platform = true;
    QColor text;
    QColor background;
};

// Fills in a default colour from the system palette: a default text is the button text on
// buttons and the window text elsewhere; a default background is the window colour behind edits
// and lists, the button face elsewhere, and scroll bars are left to the platform.
ControlColours ResolveColours(ColourValue text, ColourValue background, ColourElement element,
                              const QPalette& system);

// A button, static text or edit whose owner chooses its text and background colours. Qt has no
// per-draw colour request, so the resolved colours go into the control's palette whenever one is
// set; both default gives the control back its plain palette.
class ColourControl {
public:
    ColourControl() = default;
    ColourControl(QWidget* control, ColourElement element);

    void attach(QWidget* control, ColourElement element);
    void setTextColour(ColourValue colour);
    void setBackgroundColour(ColourValue colour);

    ColourValue textColour() const { return text_; }
    ColourValue backgroundColour() const { return background_; }
    QWidget* control() const { return control_.data(); }

private:
    void apply();

    QPointer<QWidget> control_;
    ColourElement element_ = ColourElement::Static;
    ColourValue text_ = kDefaultColour;
    ColourValue background_ = kDefaultColour;
};

} // namespace qpx::ui
