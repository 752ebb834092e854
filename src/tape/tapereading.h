#pragma once
// The tape for a screen reader: each shown line as one list item, in tape order ("line 3, 12.50
// plus, subtotal 27.50"), over the cells, which keep their own texts for a reader going cell by
// cell; and the line on the bottom row, the one just written, as the entry box's description, so
// a reader at the entry box hears each line as it is written.
class QWidget;

// Reads the rows of the cells on `body` again, after they were drawn; the first call lays the
// list on `body`.
void readTapeRows(QWidget& body, QWidget& entryBox);
