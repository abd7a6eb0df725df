#include "tools/ui/screen_cover.h"

#include "tools/screen_covers.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPalette>
#include <QPushButton>

namespace {

QString ButtonSheet(const QString& stem)
{
    return QStringLiteral("QPushButton {border-image: url(:/Spot/") + stem
           + QStringLiteral("1);}QPushButton:pressed {border-image: url(:/Spot/") + stem
           + QStringLiteral("2);}QPushButton:checked {border-image: url(:/Spot/") + stem + QStringLiteral("3);}");
}

}  // namespace

ScreenCover::ScreenCover(QWidget* parent, const QString& name)
    : QDialog(parent, Qt::FramelessWindowHint)
{
    setObjectName(name);
    setWindowTitle(name);
    auto button = [this](QPushButton*& b, const char* objectName) {
        b = new QPushButton(this);
        b->setObjectName(QLatin1String(objectName));
        b->setIconSize(QSize(tools::kCoverButtonSize, tools::kCoverButtonSize));
        b->resize(tools::kCoverButtonSize, tools::kCoverButtonSize);
        b->setFocusPolicy(Qt::NoFocus);
    };
    button(btnPropR, "btnPropR");
    button(btnCloseL, "btnCloseL");
    button(btnCloseR, "btnCloseR");
    button(btnPropL, "btnPropL");
}

ScreenCover::~ScreenCover()
{
    if (m_menu) {
        m_menu->clear();
        m_menu->close();
    }
}

QAction* ScreenCover::MenuAction(int index)
{
    const QString text = m_texts && index < m_texts->size() ? m_texts->at(index) : QString();
    auto* action = new QAction(text, this);
    action->setCheckable(true);
    return action;
}

void ScreenCover::InitCover(QStringList* texts)
{
    setFixedSize(width(), height());
    m_texts = texts;
    QPalette p = palette();
    p.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::gray));
    setPalette(p);
    for (QPushButton* b : {btnCloseL, btnCloseR})
        b->setStyleSheet(ButtonSheet(QStringLiteral("spotclose")));
    for (QPushButton* b : {btnPropL, btnPropR})
        b->setStyleSheet(ButtonSheet(QStringLiteral("spotprop")));

    m_menu = new QMenu(this);
    const char* percentSlots[4] = {SLOT(OptPercent0()), SLOT(OptPercent10()), SLOT(OptPercent20()), SLOT(OptPercent30())};
    for (int i = 0; i < 4; ++i) {
        m_percent[i] = MenuAction(5 + i);
        m_menu->addAction(m_percent[i]);
        connect(m_percent[i], SIGNAL(triggered()), this, percentSlots[i]);
    }
    m_percent[0]->setChecked(true);
    for (QPushButton* b : {btnCloseL, btnCloseR})
        connect(b, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton* b : {btnPropL, btnPropR})
        connect(b, &QPushButton::clicked, this, &ScreenCover::OptProp);
}

bool ScreenCover::PlaceCover(int mode, int screenWidth, int screenHeight)
{
    m_mode = mode;
    m_screenWidth = screenWidth;
    m_screenHeight = screenHeight;
    QRect window;
    if (!tools::CoverWindowFor(mode, screenWidth, screenHeight, &window))
        return false;
    setFixedSize(window.size());
    setGeometry(window);
    const tools::CoverParts parts = tools::CoverPartsFor(window.size());
    btnPropL->move(parts.propLeft);
    btnCloseL->move(parts.closeLeft);
    PlaceRightButtons(window.width());
    return true;
}

void ScreenCover::PlaceRightButtons(int width)
{
    const tools::CoverParts parts = tools::CoverPartsFor(QSize(width, height()));
    btnPropR->move(parts.propRight);
    btnCloseR->move(parts.closeRight);
}

void ScreenCover::OptProp()
{
    if (!m_menu)
        return;
    m_menu->move(tools::CoverMenuPosition(QCursor::pos(), m_menu->sizeHint(), m_screenWidth, m_screenHeight));
    m_menu->show();
}

void ScreenCover::ChooseOpacity(int index)
{
    static const double opacity[4] = {1.0, 0.9, 0.8, 0.7};
    setWindowOpacity(opacity[index]);
    for (int i = 0; i < 4; ++i) {
        if (m_percent[i])
            m_percent[i]->setChecked(i == index);
    }
}

void ScreenCover::OptPercent0() { ChooseOpacity(0); }
void ScreenCover::OptPercent10() { ChooseOpacity(1); }
void ScreenCover::OptPercent20() { ChooseOpacity(2); }
void ScreenCover::OptPercent30() { ChooseOpacity(3); }
