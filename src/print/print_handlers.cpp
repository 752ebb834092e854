// The File menu's Print and the editor's preview key: one preview window at a time.
#include "print/form1.h"
#include "window/calculator.h"

void Calculator::showpreview() {
    if (preview) {
        // Already open: only to the front, the image stays as it was drawn.
        if (preview->isMinimized()) preview->showNormal();
        preview->raise();
        preview->activateWindow();
        return;
    }
    preview = new Form1(state);
    preview->show();
}

void Calculator::mnuPrint_Click() { showpreview(); }
