// Printing the report onto a started print job, and writing it as a PDF file the way the print
// dialog's "print to file" does. Drawing layer (fyldraw) with Qt's printer support.
#pragma once

#include "flowsim/flowpicture.h"
#include "print/reportpages.h"

class QPainter;

namespace fyl {

// Lays out the chosen pages at `in.dpi` and draws them; a second page starts a new page of the
// job. The letterhead picture is read and its rectangle checked before anything is drawn, so a
// missing image4.bmp (FileError) or a page beyond the printer's coordinate range (RangeError)
// ends the job with nothing on it. A failed contour leaves that outlet's zone out.
void printReport(QPainter& painter, const ReportInputs& in, const ContourRoutine& contours);

// The report as a PDF on A4 at `in.dpi`, written atomically: on any error the file at `path`
// stays as it was. No page chosen gives an empty job, one blank page.
void writeReportPdf(const QString& path, const ReportInputs& in, const ContourRoutine& contours);
// The PDF writeReportPdf writes, as bytes; its draft lies inside `scratchFolder` when one is given.
QByteArray reportPdfBytes(const ReportInputs& in, const ContourRoutine& contours,
                          const QString& scratchFolder = QString());

} // namespace fyl
