#pragma once

#include <QPoint>
#include <QVector>

#include "panels/floating_panels.h"

// Where the tests press the floating launcher and its rings: on the drawn
// faces, the only parts of the buttons that take the pointer.

// The middle of a launcher button's round face, in launcher coordinates.
QPoint LauncherFaceCentre(const char* objectName);

// The middle of the opaque part of a ring button's picture, in the ring
// window's coordinates.
QPoint RingFaceCentre(const QVector<PanelButton>& specs, const char* objectName);
