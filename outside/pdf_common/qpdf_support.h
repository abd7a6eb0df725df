#pragma once

// qpdf helpers shared by the exporter and the page editor. qpdf reports
// failures by throwing; these helpers catch at the edge and return results, so
// nothing thrown ever crosses the libraries' C interface.

#include <QByteArray>
#include <QString>

#include <qpdf/QPDF.hh>

#include <functional>
#include <memory>

namespace pdfsupport {

// A QPDF that keeps quiet and copies stream data out at once when its objects
// are taken into another document, so it need not outlive the copy.
std::unique_ptr<QPDF> NewQuietPdf();

// Opens a PDF file and reads its page tree; nullptr (with a debug line) when it
// is missing, not a plain file, unreadable, or damaged beyond qpdf's repair.
std::unique_ptr<QPDF> OpenPdfFile(const QString& path);

// Opens a PDF held in memory. qpdf reads from `bytes` while the QPDF lives, so
// the caller keeps them alive as long.
std::unique_ptr<QPDF> OpenPdfBytes(const QByteArray& bytes, const char* description);

// Writes the document to `path` through a temporary file that is renamed over
// the target only when everything was written.
bool WritePdfFile(QPDF& pdf, const QString& path);

// Copies the pages `first` .. `last` (zero-based, inclusive) of `source` into a
// new document and writes it to `target`.
bool WritePageRange(QPDF& source, int first, int last, const QString& target);

// Runs `work`, turning anything qpdf throws into false and a debug line.
bool Guarded(const char* what, const std::function<void()>& work);

}  // namespace pdfsupport
