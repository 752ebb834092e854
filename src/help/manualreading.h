#pragma once
// The manual as a screen reader reads it: the text of the viewer's document with the marks that
// tables and other frames leave in it (private code points) read as line ends, as the document
// shows them, so a reader says only what the page shows. Positions are the document's own, so
// the caret, the selection and the character boxes stay where they are.
class QTextBrowser;

namespace tally {

// From now on, `browser` reaches screen readers through this reading. Call before it is shown.
void readManualPlainly(QTextBrowser& browser);

} // namespace tally
