#pragma once

#include "panels/ui/placeholder_subpanel.h"

#include <QStringList>

// The recording panel of the floating launcher.
class floatingrec : public PlaceholderSubPanel
{
    Q_OBJECT

public:
    explicit floatingrec(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);

signals:
    // 1 record, 2 stop.
    void CallOptRec(int mode);
    // 1 view the video.
    void CallOptView(int mode);
};
