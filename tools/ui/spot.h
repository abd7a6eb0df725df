#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QStringList>

// The spotlight: a dark cover with one lit opening.
class spot : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit spot(QWidget* parent = nullptr);

    void InitDialog(QStringList* spotTexts);
    void SetSpotMask(int toolbarPosition, int viewWidth, int viewHeight);
};
