#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>

// The "Save Notes" dialog.
class NoteSave : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit NoteSave(QWidget* parent = nullptr);

    void InitNoteSave(QString languageFilePath, bool option);

signals:
    void CallNoteSavePrintOperation(QString path, QString mode, int first, int last);
    void CallVirtualKeyboard();

private:
    QString m_languageFilePath;
};
