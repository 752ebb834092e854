#pragma once
// The whole tape on paper: 120 lines a sheet in two halves, the date above the first sheet.
#include <QString>

#include "core/state.h"

class QPrinter;

// Paints every sheet of the tape on `printer` (a printer queue or a PDF file alike) and ends the
// document. Positions are laid out at 600 dots per inch and scaled to the printer's resolution;
// texts are measured and drawn in the printer's own font metrics. Sets printplaces to 2.
// Returns false when the printer cannot start, take a page or finish the document.
bool printTape(tally::State& state, QPrinter& printer);
