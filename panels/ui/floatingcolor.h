#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QString>
#include <QStringList>

class QPushButton;

// The colour and pen-width ring of the floating launcher.
class floatingcolor : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingcolor(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts, QStringList* configTexts);
    // Shows the board's pen: the colour as "#rrggbb" (a value outside the
    // ring keeps the mark as it was) and the width as the main window keeps
    // it, one more than the chosen preset. Emits nothing.
    void SetCurrentColor(QString colour, int width, int preset1, int preset2, int preset3, int preset4);
    // Checks the colour button of the current colour name and no other.
    void RefreshColorChecks();

    QString CurrentColorName() const { return m_colourName; }
    int CurrentPenWidth() const { return m_penWidth; }

signals:
    void CallOptColorChange(QString colour);
    void CallOptPenWidthChange(int width);

public slots:
    void BtnBlack();
    void BtnMaroon();
    void BtnGreen();
    void BtnOlive();
    void BtnNavy();
    void BtnPurple();
    void BtnTeal();
    void BtnGray();
    void BtnSilver();
    void BtnRed();
    void BtnLime();
    void BtnYellow();
    void BtnBlue();
    void BtnFuchsia();
    void BtnAqua();
    void BtnWhite();
    void BtnPenWidth1();
    void BtnPenWidth2();
    void BtnPenWidth3();
    void BtnPenWidth4();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PickColour(int index);
    void PickWidth(int index);

    QStringList* m_hintTexts = nullptr;
    QStringList* m_configTexts = nullptr;
    QString m_colourName;
    int m_penWidth = 0;
    int m_presets[4] = {0, 0, 0, 0};
    QPushButton* m_colourButtons[16] = {};
    QPushButton* m_widthButtons[4] = {};
    QPushButton* m_autoColour = nullptr;
};
