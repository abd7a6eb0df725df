#pragma once

#include <QString>

// The updater's own texts, ids 2100 to 2133, compiled in per language code as
// ":/Language/l_<code>". One table serves the whole process.
class UpdateLanguage
{
public:
    static constexpr int kFirstId = 2100;
    static constexpr int kTextCount = 34;
    // Texts of our own beyond the table of 34, read from the same resources
    // by their ids (2134 on) and reached only through updateText.
    static constexpr int kOwnTextCount = 1;

    // Loads the texts of `code` into the process-wide table. A code without a
    // resource falls back to "ENU"; a text the language lacks is taken from
    // "ENU". Right-to-left is set for "ARA" and "FAR" (exact, case-sensitive).
    void load(const QString& code);

    bool rightToLeft() const { return m_rightToLeft; }
    // The code whose resource was loaded ("ENU" after a fallback).
    QString code() const { return m_code; }

private:
    bool m_rightToLeft = false;
    QString m_code;
};

// Text with id 2100 + n; empty for n outside 0..33.
QString languageText(int n);

// "Some files could not be restored..." with %1 for the kept backup folder.
constexpr int kRestoreFailedTextId = 2134;

// Text by its id (2100..2134), for readability at the call sites.
QString updateText(int id);
