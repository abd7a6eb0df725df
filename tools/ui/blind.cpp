#include "tools/ui/blind.h"

#include "tools/screen_covers.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

blind::blind(QWidget* parent)
    : ScreenCover(parent, QStringLiteral("blind"))
{
    auto bar = [this](QLabel*& label, const char* name, const char* picture) {
        label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setScaledContents(true);
        label->setPixmap(QPixmap(QLatin1String(picture)));
    };
    bar(barLeft, "barLeft", ":/Spot/bar_v");
    bar(barRight, "barRight", ":/Spot/bar_v");
    bar(barTop, "barTop", ":/Spot/bar_h");
    bar(barBottom, "barBottom", ":/Spot/bar_h");
    // The buttons stay above the bars where they meet.
    for (QPushButton* b : {btnPropL, btnCloseL, btnPropR, btnCloseR})
        b->raise();
}

blind::~blind() = default;

void blind::InitDialog(QStringList* spotTexts)
{
    InitCover(spotTexts);
}

void blind::PlaceBars(QSize size)
{
    const tools::CoverParts parts = tools::CoverPartsFor(size);
    barTop->setGeometry(parts.bars[tools::EdgeTop]);
    barBottom->setGeometry(parts.bars[tools::EdgeBottom]);
    barLeft->setGeometry(parts.bars[tools::EdgeLeft]);
    barRight->setGeometry(parts.bars[tools::EdgeRight]);
}

// Every showing restores the whole cover for the toolbar's position.
void blind::ShowOnScreen(int mode, int screenWidth, int screenHeight)
{
    m_dragging = false;
    if (PlaceCover(mode, screenWidth, screenHeight))
        PlaceBars(size());
}

void blind::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int edge = tools::CoverEdgeAt(tools::CoverPartsFor(size()), event->pos());
    if (edge >= 0) {
        m_pressPosition = event->pos();
        m_pressGlobal = event->globalPos();
        m_edge = edge;
        m_dragging = true;
    }
    m_pressGeometry = geometry();
}

// The drag is measured on the screen from the press: the window moves under
// the pointer when its top or left edge is dragged, so window coordinates
// would drift with every step.
void blind::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QRect r = tools::BlindDragged(m_edge, m_pressGeometry, event->globalPos() - m_pressGlobal);
    if (r == geometry())
        return;
    setFixedSize(r.size());
    setGeometry(r);
    PlaceBars(r.size());
    if (m_edge == tools::EdgeLeft || m_edge == tools::EdgeRight)
        PlaceRightButtons(r.width());
}

void blind::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
}

void blind::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}
