#include "tools/ui/spot.h"

#include "tools/screen_covers.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

namespace {

const int kHoleSizes[3] = {100, 250, 400};

}  // namespace

spot::spot(QWidget* parent)
    : ScreenCover(parent, QStringLiteral("spot"))
{
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    setFont(f);
}

spot::~spot() = default;

void spot::InitDialog(QStringList* spotTexts)
{
    m_holeSize = 250;
    m_shape = 0;
    InitCover(spotTexts);
    m_menu->addSeparator();
    const char* shapeSlots[2] = {SLOT(OptTypeCircle()), SLOT(OptTypeRect())};
    for (int i = 0; i < 2; ++i) {
        m_shapeActions[i] = MenuAction(i);
        m_menu->addAction(m_shapeActions[i]);
        connect(m_shapeActions[i], SIGNAL(triggered()), this, shapeSlots[i]);
    }
    m_menu->addSeparator();
    const char* sizeSlots[3] = {SLOT(OptSizeSmall()), SLOT(OptSizeMedium()), SLOT(OptSizeLarge())};
    for (int i = 0; i < 3; ++i) {
        m_sizeActions[i] = MenuAction(2 + i);
        m_menu->addAction(m_sizeActions[i]);
        connect(m_sizeActions[i], SIGNAL(triggered()), this, sizeSlots[i]);
    }
    m_shapeActions[0]->setChecked(true);
    m_sizeActions[1]->setChecked(true);
}

// Each showing puts the hole back in the middle of the screen; shape, size
// and transparency stay as chosen.
void spot::SetSpotMask(int mode, int screenWidth, int screenHeight)
{
    m_mode = mode;
    m_screenWidth = screenWidth;
    m_screenHeight = screenHeight;
    m_holeCentre = QPoint(screenWidth / 2, screenHeight / 2);
    BuildMask(m_shape);
    PlaceCover(mode, screenWidth, screenHeight);
}

// The window's shape is the cover without the hole, so the window system
// shows the board there and hands it the pointer.
void spot::BuildMask(int shape)
{
    setMask(tools::SpotShape(QSize(m_screenWidth, m_screenHeight), m_holeCentre, m_holeSize, shape));
}

void spot::BuildEllipseMask() { BuildMask(0); }
void spot::BuildRectMask() { BuildMask(1); }

void spot::ChooseShape(int shape)
{
    m_shape = shape;
    for (int i = 0; i < 2; ++i)
        m_shapeActions[i]->setChecked(i == shape);
    BuildMask(m_shape);
}

void spot::ChooseSize(int index)
{
    m_holeSize = kHoleSizes[index];
    for (int i = 0; i < 3; ++i)
        m_sizeActions[i]->setChecked(i == index);
    BuildMask(m_shape);
}

void spot::OptTypeCircle() { ChooseShape(0); }
void spot::OptTypeRect() { ChooseShape(1); }
void spot::OptSizeSmall() { ChooseSize(0); }
void spot::OptSizeMedium() { ChooseSize(1); }
void spot::OptSizeLarge() { ChooseSize(2); }

void spot::mousePressEvent(QMouseEvent* event)
{
    m_lastPointer = event->pos();
}

// A move changes the shape and paints only where the hole was; the window
// itself stays. The centre is kept on the cover so the hole cannot be lost
// off the screen.
void spot::mouseMoveEvent(QMouseEvent* event)
{
    const QRect before = tools::SpotHoleRect(m_holeCentre, m_holeSize);
    QPoint centre = m_holeCentre + event->pos() - m_lastPointer;
    centre.setX(qBound(0, centre.x(), std::max(0, width() - 1)));
    centre.setY(qBound(0, centre.y(), std::max(0, height() - 1)));
    m_lastPointer = event->pos();
    if (centre == m_holeCentre)
        return;
    m_holeCentre = centre;
    BuildMask(m_shape);
    update(before.adjusted(-1, -1, 1, 1));
}

void spot::mouseReleaseEvent(QMouseEvent*) {}

void spot::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}
