#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QList>
#include <QStringList>

class QPushButton;

// The recording panel of the floating launcher: record, stop, and the camera
// view while a recording runs. It shows no recording state: the main window
// decides what a press does.
class floatingrec : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingrec(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);

signals:
    // 1 record, 2 stop.
    void CallOptRec(int mode = 1);
    // 1 view the video.
    void CallOptView(int mode = 1);

public slots:
    void btnRec();
    void btnStop();
    void btnViewVideo();

private:
    QStringList* m_hintTexts = nullptr;
    // In the order of the panel's button table: record, stop, view.
    QList<QPushButton*> m_buttons;
};
