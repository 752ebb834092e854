#pragma once
// What the keyboard needs beyond the design: the keys that open a context menu.
class QKeyEvent;
class QMenu;
class QWidget;

// The Menu key and Shift+F10, which open a context menu in every desktop program.
bool isMenuKey(const QKeyEvent& key);

// Opens `menu` from the keyboard at `at` (its left edge, half-way down), its first enabled item
// highlighted, so Enter takes it and a screen reader names it.
void popUpByKey(QMenu& menu, const QWidget& at);
