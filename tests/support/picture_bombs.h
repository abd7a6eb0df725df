#pragma once

#include <QString>
#include <QtGlobal>

// Small files that describe huge pictures, to show that no place of the
// whiteboard decodes a picture without looking at its size first.

// A PNG of width x height black RGB pixels; a few hundred bytes to a few MB,
// but width x height x 4 bytes once decoded. It decodes completely.
bool WritePngBomb(const QString& path, int width, int height);

// A JPEG whose header declares width x height colour pixels, followed by the
// data of a tiny picture: a decoder that trusts the header fills the whole
// declared picture.
bool WriteJpegBomb(const QString& path, int width, int height);

// The peak resident memory (VmHWM) of a process in kB, or -1 when unknown.
qint64 PeakResidentKb(qint64 pid);
