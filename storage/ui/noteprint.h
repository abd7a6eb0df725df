#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>

// The "Print Notes" dialog.
class NotePrint : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit NotePrint(QWidget* parent = nullptr);

    void InitNotePrint(bool option);

signals:
    void CallNoteSavePrintOperation(QString path, QString mode, int first, int last);
};
