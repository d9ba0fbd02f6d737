// Printing the statistics tables: the print-choice dialog, then Qt's print dialog or its print
// preview, and the pages drawn through the Canvas on the printer (DrawPrintPage). Also the PDF
// file that "vexor-gui --print-pdf" writes without a window.
#pragma once

#include <string>

class QPagedPaintDevice;
class QPainter;

namespace vexor {

class VexoriumDoc;
class MainFrame;
class Prompter;

// The pane that carries a print job: its printing flag is set while the job draws (the
// statistics view draws no screen meanwhile, the navigation pane none of its pictures).
enum class PrintingPane { kStatisticsView, kNavigation };

// The Print (preview false) and Print Preview commands of the frame's document. The pane with
// the keyboard focus carries the job. Messages go through prompter.
void RunPrintJob(MainFrame& frame, Prompter& prompter, bool preview);

// Draws pages from to `to` (from 1; 0 and 0 for all; a range past the job's end is cut to it)
// of the table of print choice code on device, through painter, which must be active on device.
// Returns the number of pages drawn.
int PrintTableOn(QPagedPaintDevice& device, QPainter& painter, VexoriumDoc& doc, int code,
                 int from = 0, int to = 0);

// Prints the table of print choice code into a PDF file at path (the paper of the user's
// locale, Letter or A4, upright), written whole or not at all. False with a message naming the
// file when it cannot be written.
bool PrintToPdf(VexoriumDoc& doc, int code, const std::string& path, std::string* error);

}  // namespace vexor
