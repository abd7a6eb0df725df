#pragma once

#include "panels/ui/floating_panel.h"

#include <QPoint>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;

// The round launcher that floats over the board in place of the toolbar:
// seven buttons open the sub-panels, two step through the notes, and the
// centre shows the current tool, drags the launcher and opens the main menu.
class floatingmain : public FloatingPanel
{
    Q_OBJECT

public:
    explicit floatingmain(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts, QStringList* menuTexts, int width, int height, bool captureLoaded);
    // Shows the tool's picture in the centre; a key it has no picture for
    // leaves the picture as it is.
    void SetPenButtonImage(QString toolKey, bool transparent);
    void SetPrevDisabled(bool disabled);
    void SetNextDisabled(bool disabled);

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

public slots:
    void OptColorWindow();
    void OptEraserWindow();
    void OptFigureWindow();
    void OptNoteWindow();
    void OptChangeWindow();
    void OptRecWindow();
    void OptZoomWindow();
    void BtnPrev();
    void BtnNext();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* Button(const char* objectName) const;

    QStringList* m_hintTexts = nullptr;
    QStringList* m_menuTexts = nullptr;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    bool m_dragging = false;
    QPoint m_dragStart;
    QLabel* m_picture = nullptr;
    QList<QPushButton*> m_buttons;
};
