#include "ui/ColourControl.h"

#include <QApplication>

namespace qpx::ui {

QColor ToQColor(ColourValue value) {
    return QColor(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>(value & 0xFF));
}

ControlColours ResolveColours(ColourValue text, ColourValue background, ColourElement element,
                              const QPalette& system) {
    const bool textDefault = text == kDefaultColour;
    const bool backgroundDefault = background == kDefaultColour;
    if (textDefault && backgroundDefault)
        return {};
    ControlColours colours;
    colours.platform = false;
    if (textDefault) {
        colours.text = element == ColourElement::Button ? system.color(QPalette::ButtonText)
                                                        : system.color(QPalette::WindowText);
    } else {
        colours.text = ToQColor(text);
    }
    if (backgroundDefault) {
        switch (element) {
        case ColourElement::Edit:
        case ColourElement::ListBox:
            colours.background = system.color(QPalette::Base);
            break;
        case ColourElement::ScrollBar:
            return {};
        default:
            colours.background = system.color(QPalette::Button);
            break;
        }
    } else {
        colours.background = ToQColor(background);
    }
    return colours;
}

ColourControl::ColourControl(QWidget* control, ColourElement element) {
    attach(control, element);
}

void ColourControl::attach(QWidget* control, ColourElement element) {
    control_ = control;
    element_ = element;
    apply();
}

void ColourControl::setTextColour(ColourValue colour) {
    text_ = colour;
    apply();
}

void ColourControl::setBackgroundColour(ColourValue colour) {
    background_ = colour;
    apply();
}

void ColourControl::apply() {
    if (control_.isNull())
        return;
    const QPalette system = QApplication::palette(control_.data());
    const ControlColours colours = ResolveColours(text_, background_, element_, system);
    if (colours.platform) {
        control_->setPalette(system);
        control_->setAutoFillBackground(false);
        control_->update();
        return;
    }
    QPalette palette = system;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, colours.text);
        palette.setColor(group, QPalette::Text, colours.text);
        palette.setColor(group, QPalette::ButtonText, colours.text);
        if (element_ == ColourElement::Edit || element_ == ColourElement::ListBox) {
            palette.setColor(group, QPalette::Base, colours.background);
        }
        // Behind a push button's face, as on the platform the face itself keeps its own look.
        palette.setColor(group, QPalette::Window, colours.background);
    }
    control_->setPalette(palette);
    control_->setAutoFillBackground(element_ != ColourElement::Edit &&
                                    element_ != ColourElement::ListBox);
    control_->update();
}

} // namespace qpx::ui
