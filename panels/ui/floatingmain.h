#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QPoint>
#include <QString>
#include <QStringList>

// The floating launcher shown in place of the toolbar at position 4.
class floatingmain : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit floatingmain(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts, QStringList* menuTexts, int width, int height, bool captureLoaded);
    void SetPenButtonImage(QString toolKey, bool transparent);
    void SetPrevDisabled(bool disabled);
    void SetNextDisabled(bool disabled);

    QString penToolKey() const { return m_penToolKey; }
    bool penTransparent() const { return m_penTransparent; }
    bool prevDisabled() const { return m_prevDisabled; }
    bool nextDisabled() const { return m_nextDisabled; }

signals:
    void CallOptMenuBtn();
    void CallSubAlign(QPoint topLeft);
    void CallOptColorDialog();
    void CallOptEraserDialog();
    void CallOptFigureDialog();
    void CallOptNoteDialog();
    void CallOptChangeDialog();
    void CallOptRecDialog();
    void CallOptZoomDialog();
    void CallOptPrev();
    void CallOptNext();

private:
    QSize m_canvasSize;
    bool m_captureLoaded = false;
    QString m_penToolKey;
    bool m_penTransparent = false;
    bool m_prevDisabled = false;
    bool m_nextDisabled = false;
};
