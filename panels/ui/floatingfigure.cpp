#include "panels/ui/floatingfigure.h"

#include <QPushButton>

namespace {

// Rows of the button table.
enum Row {
    EArrow,
    BArrow,
    Circle,
    FillCircle,
    Rectangle,
    FillRectangle,
    Line,
    PenTrans,
    BrushPen,
    FreePen,
    Smart,
    Undo,
    Redo,
    RowCount
};

// The key each figure row chooses; the others choose none.
const char* const kRowKeys[RowCount] = {"ekEArrow", "ekBArrow", "ekEllipse", "ekFillEllipse", "ekRect",
                                        "ekFillRect", "ekLine",  nullptr,     "ekBrush",       "ekFree",
                                        "ekSmart",    nullptr,   nullptr};

}  // namespace

floatingfigure::floatingfigure(QWidget* parent)
    : FloatingSubPanel("floatingfigure", parent)
{
    for (const PanelButton& spec : FigurePanelButtons())
        m_buttons << AddRingButton(spec.objectName);
}

void floatingfigure::InitDialog(QStringList* hintTexts)
{
    m_hintTexts = hintTexts;
    InitFrame(QLatin1String(kFigureFolder), QLatin1String(kFigureBackground));
    for (QPushButton* b : qAsConst(m_buttons))
        WatchHover(b);
    StyleButtons(m_buttons, FigurePanelButtons(), m_hintTexts, kFigureTransparentImage);
    static const char* const buttonSlots[RowCount] = {
        SLOT(BtnFigureEArrow()),    SLOT(BtnFigureBArrow()),       SLOT(BtnFigureCircle()),
        SLOT(BtnFigureFillCircle()), SLOT(BtnFigureRectangle()),   SLOT(BtnFigureFillRectangle()),
        SLOT(BtnFigureLine()),      SLOT(BtnFigurePenTrans()),     SLOT(BtnFigureBrushPen()),
        SLOT(BtnFigureFreePen()),   SLOT(BtnFigureSmart()),        SLOT(BtnFigureUndo()),
        SLOT(BtnFigureRedo())};
    for (int row = 0; row < RowCount; ++row)
        connect(Button(row), SIGNAL(clicked()), this, buttonSlots[row]);
    hide();
}

void floatingfigure::SetFigureKey(QString key)
{
    m_key = key;
    RefreshFigureChecks();
    emit CallOptFigureChange(m_key);
}

void floatingfigure::SetTransChecked(bool checked)
{
    m_transparent = checked;
    Button(PenTrans)->setChecked(checked);
    update();
}

void floatingfigure::SetTransEnabled(bool enabled) { Button(PenTrans)->setEnabled(enabled); }

bool floatingfigure::transEnabled() const { return Button(PenTrans)->isEnabled(); }

void floatingfigure::SetSmartVisible(bool visible)
{
    Button(Smart)->setVisible(visible);
    ApplyShape();
}

void floatingfigure::RefreshFigureChecks()
{
    const bool brush = m_key == QLatin1String("ekBrush");
    if (brush) {
        Button(BrushPen)->setChecked(true);
        Button(PenTrans)->setChecked(false);
        Button(PenTrans)->setEnabled(false);
    } else {
        Button(PenTrans)->setEnabled(true);
        Button(BrushPen)->setChecked(false);
    }
    for (int row = 0; row < RowCount; ++row) {
        if (kRowKeys[row] && row != BrushPen)
            Button(row)->setChecked(m_key == QLatin1String(kRowKeys[row]));
    }
    Button(Undo)->setChecked(false);
    Button(Redo)->setChecked(false);
}

void floatingfigure::Choose(const char* key)
{
    m_key = QLatin1String(key);
    RefreshFigureChecks();
    emit CallOptFigureChange(m_key);
}

void floatingfigure::BtnFigurePenTrans()
{
    // The button has toggled itself already; what the board was told last
    // decides, so a panel opened with transparency on sends false.
    m_transparent = !m_transparent;
    Button(PenTrans)->setChecked(m_transparent);
    update();
    emit CallOptTransChange(m_transparent);
}

void floatingfigure::BtnFigureUndo()
{
    RefreshFigureChecks();
    emit CallOptUndo();
}

void floatingfigure::BtnFigureRedo()
{
    RefreshFigureChecks();
    emit CallOptRedo();
}

void floatingfigure::BtnFigureEArrow() { Choose(kRowKeys[EArrow]); }
void floatingfigure::BtnFigureBArrow() { Choose(kRowKeys[BArrow]); }
void floatingfigure::BtnFigureCircle() { Choose(kRowKeys[Circle]); }
void floatingfigure::BtnFigureFillCircle() { Choose(kRowKeys[FillCircle]); }
void floatingfigure::BtnFigureRectangle() { Choose(kRowKeys[Rectangle]); }
void floatingfigure::BtnFigureFillRectangle() { Choose(kRowKeys[FillRectangle]); }
void floatingfigure::BtnFigureLine() { Choose(kRowKeys[Line]); }
void floatingfigure::BtnFigureBrushPen() { Choose(kRowKeys[BrushPen]); }
void floatingfigure::BtnFigureFreePen() { Choose(kRowKeys[FreePen]); }
void floatingfigure::BtnFigureSmart() { Choose(kRowKeys[Smart]); }
