#pragma once
// How the program's windows look and where they open, the same for the calculator, its preview
// and the help viewer.
class QApplication;
class QWidget;

// Qt's "Windows" style with its own light palette: flat key faces in their designed colours with
// a 3-D edge, and the designed mix of fixed and system colours readable on any desktop scheme.
void applyClassicLook(QApplication& app);

// Moves a top-level window that is about to open so it stands centred over `over` (the screen
// when null) and wholly within its screen's available area, keeping its size.
void placeOnScreen(QWidget& window, const QWidget* over = nullptr);
