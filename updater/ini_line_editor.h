#pragma once

#include <QString>

// Reads and writes single keys of an INI file line by line, the way the
// system's profile functions do. A write replaces only the line of that key
// (or adds one line, or one group and one line); every other byte of the file
// stays as it was: other groups, comments, blank lines, line ends, a byte-order
// mark. QSettings is not used for writing because it rewrites the whole file,
// reorders keys and quotes values that a reader of ours takes literally.
//
// Group and key names match case-insensitively; a line starting with ';' or
// '#' is a comment. Values are UTF-8 text written as they are.

// Sets `key` in `group` to `value`. The file is created when it does not exist.
// The new contents replace the file only once fully written. Returns false when
// the file cannot be read or written, or the names are unusable (empty, or
// containing a line break, '=' in the key, ']' in the group).
bool WriteIniValue(const QString& filePath, const QString& group, const QString& key,
                   const QString& value);

// The value of `key` in `group` exactly as written after the '=' (blanks around
// it removed), or `fallback` when the file, the group or the key is missing.
QString ReadIniValue(const QString& filePath, const QString& group, const QString& key,
                     const QString& fallback = QString(), bool* found = nullptr);
