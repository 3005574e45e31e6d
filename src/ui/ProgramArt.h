#pragma once

#include <QIcon>
#include <QPixmap>

namespace qpx::ui {

// The program icon and the maker's logo, drawn from the SVG files compiled into the program.
QIcon ProgramIcon();
// The logo at its 119 x 49 size (scaled to the screen's pixel ratio).
QPixmap LogoPixmap(qreal devicePixelRatio = 1.0);

} // namespace qpx::ui
