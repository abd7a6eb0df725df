#pragma once

#include "panels/floating_panels.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QRegion>
#include <QStringList>

class QLabel;
class QPushButton;

// What the launcher and every sub-panel share: a frameless window over the
// board whose faces all come from pictures, buttons that never take the
// focus, a hover mark the panel drives itself (a touch panel has no real
// hover), and a window shape cut from its pictures, so the pointer reaches
// whatever lies under the transparent parts.
class FloatingPanel : public QDialog
{
    Q_OBJECT

public:
    // Marks `button` as under the pointer and clears every other mark;
    // (nullptr, false) clears them all.
    void SetHoverButton(QWidget* button, bool on);

    // The buttons that take part in the hover mark.
    const QList<QPushButton*>& HoverButtons() const { return m_hoverButtons; }
    // The window shape now in force (empty before the first show).
    QRegion Shape() const { return m_shape; }

protected:
    // `className` names the form; `title` is the window title.
    FloatingPanel(const char* className, const QString& title, QWidget* parent);

    // The form's background label "bg", centred and not scaled.
    QLabel* Background() const { return m_background; }
    // A face-less button of the form, without focus; its picture sheet and
    // geometry come later from InitDialog.
    QPushButton* AddButton(const char* objectName);
    // Tool window above the board, without a frame.
    void SetPanelWindowFlags();
    // Sets the background picture of "bg" and what it adds to the shape.
    void SetBackgroundPicture(const QString& folder, const QString& image, const QRect& geometry);
    // Gives a button its geometry, sheet and tool tip and lets its picture
    // add to the shape.
    void StyleButton(QPushButton* button, const PanelButton& spec, const QString& sheet, const QString& toolTip);
    // Changes the picture a button adds to the shape.
    void SetShapePicture(QWidget* widget, const QString& folder, const QString& image);
    // Takes a button into the hover mark; the panel watches its events.
    void WatchHover(QPushButton* button);
    // Recomputes the window shape from the background and the buttons not
    // hidden; panels call it again after they show or hide a button.
    void ApplyShape();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The window of the board the panel floats over.
    QWidget* m_boardWindow = nullptr;
    QLabel* m_background = nullptr;
    QList<QPushButton*> m_hoverButtons;
    // Per widget, the opaque pixels of its picture in its own coordinates.
    QHash<QWidget*, QRegion> m_pictureShapes;
    QRegion m_shape;
};

// Hint key n is entry n - 900 of the hint texts, Config keys are entries of
// the configuration texts; a missing entry gives no tool tip.
QString PanelToolTip(const QStringList* hintTexts, const QStringList* configTexts, int key);
