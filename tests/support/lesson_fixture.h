#pragma once

#include <QString>

// Writes a lesson of `pages` blank white-board pages of 1280 x 720 to `path`
// with the project writer itself. False, with the writer's reason in `error`,
// when it could not.
bool WriteBlankLesson(const QString& path, int pages, QString* error);
