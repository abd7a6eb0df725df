#include "panels/ui/floatingcolor.h"

#include <QPushButton>

namespace {
constexpr int kColourCount = 16;
constexpr int kWidthCount = 4;
}  // namespace

floatingcolor::floatingcolor(QWidget* parent)
    : FloatingSubPanel("floatingcolor", parent)
{
    const QVector<PanelButton>& specs = ColourPanelButtons();
    for (int i = 0; i < kColourCount; ++i)
        m_colourButtons[i] = AddRingButton(specs[i].objectName);
    for (int i = 0; i < kWidthCount; ++i)
        m_widthButtons[i] = AddRingButton(specs[kColourCount + i].objectName);
    m_autoColour = AddRingButton(specs[kColourCount + kWidthCount].objectName);
}

void floatingcolor::InitDialog(QStringList* hintTexts, QStringList* configTexts)
{
    m_hintTexts = hintTexts;
    m_configTexts = configTexts;
    for (QPushButton* b : m_colourButtons)
        WatchHover(b);
    for (QPushButton* b : m_widthButtons)
        WatchHover(b);
    InitFrame(QLatin1String(kColourFolder), QLatin1String(kColourBackground));
    const QVector<PanelButton>& specs = ColourPanelButtons();
    for (int i = 0; i < specs.size(); ++i) {
        QPushButton* button = i < kColourCount ? m_colourButtons[i]
                              : i < kColourCount + kWidthCount ? m_widthButtons[i - kColourCount]
                                                                : m_autoColour;
        StyleButton(button, specs[i], SubPanelStyleSheet(QLatin1String(specs[i].folder), QLatin1String(specs[i].image)),
                    PanelToolTip(m_hintTexts, m_configTexts, specs[i].hintKey));
    }
    // Styled like the others, but part of nothing.
    m_autoColour->hide();

    static const char* const colourSlots[kColourCount] = {
        SLOT(BtnBlack()), SLOT(BtnMaroon()), SLOT(BtnGreen()),   SLOT(BtnOlive()), SLOT(BtnNavy()),    SLOT(BtnPurple()),
        SLOT(BtnTeal()),  SLOT(BtnGray()),   SLOT(BtnSilver()),  SLOT(BtnRed()),   SLOT(BtnLime()),    SLOT(BtnYellow()),
        SLOT(BtnBlue()),  SLOT(BtnFuchsia()), SLOT(BtnAqua()),   SLOT(BtnWhite())};
    static const char* const widthSlots[kWidthCount] = {SLOT(BtnPenWidth1()), SLOT(BtnPenWidth2()),
                                                        SLOT(BtnPenWidth3()), SLOT(BtnPenWidth4())};
    for (int i = 0; i < kColourCount; ++i)
        connect(m_colourButtons[i], SIGNAL(clicked()), this, colourSlots[i]);
    for (int i = 0; i < kWidthCount; ++i)
        connect(m_widthButtons[i], SIGNAL(clicked()), this, widthSlots[i]);
    hide();
}

void floatingcolor::RefreshColorChecks()
{
    const QVector<ColourNameEntry>& names = ColourNames();
    for (int i = 0; i < kColourCount; ++i)
        m_colourButtons[i]->setChecked(m_colourName == QLatin1String(names[i].name));
}

void floatingcolor::SetCurrentColor(QString colour, int width, int preset1, int preset2, int preset3, int preset4)
{
    m_penWidth = width;
    const int presets[kWidthCount] = {preset1, preset2, preset3, preset4};
    for (int k = 0; k < kWidthCount; ++k)
        m_presets[k] = presets[k];
    const int index = ColourIndexOfValue(colour);
    if (index >= 0)
        m_colourName = QLatin1String(ColourNames()[index].name);
    // The main window keeps the chosen preset plus one.
    for (int k = 0; k < kWidthCount; ++k)
        m_widthButtons[k]->setChecked(width - 1 == m_presets[k]);
    RefreshColorChecks();
}

void floatingcolor::PickColour(int index)
{
    m_colourName = QLatin1String(ColourNames()[index].name);
    RefreshColorChecks();
    emit CallOptColorChange(m_colourName);
}

void floatingcolor::PickWidth(int index)
{
    m_penWidth = m_presets[index];
    m_widthButtons[index]->setChecked(true);
    for (int k = 0; k < kWidthCount; ++k) {
        if (k != index)
            m_widthButtons[k]->setChecked(m_presets[k] == m_presets[index]);
    }
    emit CallOptPenWidthChange(m_presets[index]);
}

void floatingcolor::BtnBlack() { PickColour(0); }
void floatingcolor::BtnMaroon() { PickColour(1); }
void floatingcolor::BtnGreen() { PickColour(2); }
void floatingcolor::BtnOlive() { PickColour(3); }
void floatingcolor::BtnNavy() { PickColour(4); }
void floatingcolor::BtnPurple() { PickColour(5); }
void floatingcolor::BtnTeal() { PickColour(6); }
void floatingcolor::BtnGray() { PickColour(7); }
void floatingcolor::BtnSilver() { PickColour(8); }
void floatingcolor::BtnRed() { PickColour(9); }
void floatingcolor::BtnLime() { PickColour(10); }
void floatingcolor::BtnYellow() { PickColour(11); }
void floatingcolor::BtnBlue() { PickColour(12); }
void floatingcolor::BtnFuchsia() { PickColour(13); }
void floatingcolor::BtnAqua() { PickColour(14); }
void floatingcolor::BtnWhite() { PickColour(15); }
void floatingcolor::BtnPenWidth1() { PickWidth(0); }
void floatingcolor::BtnPenWidth2() { PickWidth(1); }
void floatingcolor::BtnPenWidth3() { PickWidth(2); }
void floatingcolor::BtnPenWidth4() { PickWidth(3); }

void floatingcolor::mouseMoveEvent(QMouseEvent* event)
{
    FloatingSubPanel::mouseMoveEvent(event);
    update();
}

void floatingcolor::leaveEvent(QEvent* event)
{
    FloatingSubPanel::leaveEvent(event);
    update();
}
