#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QStringList>

// The screen blind: a cover over the board that is slid open.
class blind : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit blind(QWidget* parent = nullptr);

    void InitDialog(QStringList* spotTexts);
    void ShowOnScreen(int toolbarPosition, int viewWidth, int viewHeight);
};
