#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>

// The window-modal progress dialog of the long jobs.
class progressdlg : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit progressdlg(QWidget* parent = nullptr);

    void SetText(QString text);
    void SetValue(int value);
    void SetMaximum(int maximum);

    QString text() const { return m_text; }
    int value() const { return m_value; }
    int maximum() const { return m_maximum; }

private:
    QString m_text;
    int m_value = 0;
    int m_maximum = 100;
};
