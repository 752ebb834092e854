#pragma once
// The whole tape on paper: 120 lines a sheet in two halves, the date above the first sheet.
#include <QByteArray>
#include <QDate>
#include <QMarginsF>
#include <QPageSize>

#include "core/tape.h"

// Every sheet of the tape as a PDF document on paper of `paper`'s size, the first dated `day`. Positions are measured
// from the corner of the printable area, which lies `printable` points inside the sheet's edges
// (a printer's own unprintable margins; none for a PDF file). They are laid out at 600 dots per
// inch and scaled to the document's resolution; texts are measured in its own font metrics.
// Empty when the document cannot be made.
QByteArray tapePdf(const tally::Tape& tape, const QPageSize& paper, const QMarginsF& printable, QDate day);
