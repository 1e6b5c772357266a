// The main window's colour scheme: the colour values the settings hold, as the desktop draws them, and the
// scheme painted onto the main window.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

#include "registry/settings.h"

class QMainWindow;
class QPushButton;

namespace ovn {

// An 0x00BBGGRR colour, or a system colour (its high bit set) taken from `desktop`: the button face, the
// window and text colours and the button text have their palette roles; the other system colours, which
// the colour window never produces, read as the button face.
QColor ToQColor(std::uint32_t colour, const QPalette& desktop);

// The button filled with `colour`, its caption in black or white, whichever reads on it. A disabled
// button keeps the desktop's greyed caption.
void PaintButton(QPushButton& button, const QColor& colour);

// Paints the settings' scheme onto the controls of the window's client area: every button named "cmd..."
// gets BGButton, the display txtResult BGText with the text in LBText, the memory indicator lblMem Memory,
// the client area itself Main. Dialogs owned by the window are left as they are.
void ApplyColourScheme(QMainWindow& window, const Settings& settings);

}  // namespace ovn
