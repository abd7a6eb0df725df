#include "tools/ui/tooldlg_base.h"

#include "platform/compositor.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDesktopWidget>
#include <QGuiApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTransform>

const char* const ToolDlgBase::kTurnHandleStyle =
    "QLabel {background-color: green;border-style: solid;border-width: 1px;border-radius: 12px 12px;"
    "border-color: black;font: bold 14px;padding: 6px;}QPushButton:pressed {background-color: rgb(224, 0, 0);}";
const char* const ToolDlgBase::kArmHandleStyle =
    "QLabel {background-color: rgba(0, 0, 200, 100);border-style: solid;border-width: 1px;border-radius: 12px 12px;"
    "border-color: black;font: bold 14px;padding: 6px;}QPushButton:pressed {background-color: rgb(224, 0, 0);}";
const char* const ToolDlgBase::kEndHandleStyle =
    "QLabel {background-color: rgba(255, 255, 255, 255);border-style: solid;border-width: 1px;"
    "border-radius: 12px 12px;border-color: black;font: bold 14px;padding: 6px;}QPushButton:pressed "
    "{background-color: rgb(224, 0, 0);}";

namespace {

// The instruments' faint body, which on a white page is barely grey.
const QColor kBodyFill(200, 200, 200, 20);

}  // namespace

ToolDlgBase::ToolDlgBase(const char* objectName, QSize instrumentSize, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QLatin1String(objectName));
    setWindowTitle(QStringLiteral("Dialog"));
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_MouseTracking);
    const QScreen* primary = QGuiApplication::primaryScreen();
    m_screenRect = primary ? primary->geometry() : QRect(0, 0, 1024, 768);
    setGeometry(m_screenRect);
    m_rect = QRect(m_screenRect.width() / 2 - instrumentSize.width() / 2,
                   m_screenRect.height() / 2 - instrumentSize.height() / 2, instrumentSize.width(),
                   instrumentSize.height());
    m_logicalDpi = QApplication::desktop()->logicalDpiX();
    m_menuIcon = QPixmap(QStringLiteral(":/Menu/Tool_Menu"));
}

ToolDlgBase::~ToolDlgBase()
{
    if (m_menu) {
        m_menu->clear();
        m_menu->close();
    }
}

void ToolDlgBase::SetScreenRect(const QRect& screen)
{
    m_screenRect = screen;
    setGeometry(screen);
    m_rect.moveCenter(QPoint(screen.width() / 2, screen.height() / 2));
    m_shape = QRegion();
    Changed();
}

QLabel* ToolDlgBase::MakeHandle(const char* objectName, const char* style)
{
    QLabel* handle = new QLabel(this);
    handle->setObjectName(QLatin1String(objectName));
    handle->setFixedSize(24, 24);
    handle->setStyleSheet(QLatin1String(style));
    handle->installEventFilter(this);
    return handle;
}

QRegion ToolDlgBase::HandleRegion(const QLabel* label)
{
    if (label->width() == 24)
        return QRegion(label->geometry(), QRegion::Ellipse);
    return QRegion(label->geometry());
}

QLabel* ToolDlgBase::MakeMenuButton()
{
    m_menuButton = new QLabel(this);
    m_menuButton->setObjectName(QStringLiteral("label_Right_menu"));
    m_menuButton->setFixedSize(44, 44);
    m_menuButton->setAlignment(Qt::AlignCenter);
    m_menuButton->setPixmap(m_menuIcon);
    m_menuButton->installEventFilter(this);
    return m_menuButton;
}

QLabel* ToolDlgBase::MakeDiagnosticLabel(const char* objectName, QSize size)
{
    QLabel* label = new QLabel(this);
    label->setObjectName(QLatin1String(objectName));
    label->resize(size);
    label->hide();
    return label;
}

void ToolDlgBase::CentreOn(QLabel* label, QPoint p)
{
    label->move(p - QPoint(label->width() / 2, label->height() / 2));
}

void ToolDlgBase::BuildMenu(const QStringList* menuTexts, const QStringList* commonTexts,
                            std::initializer_list<MenuEntry> entries)
{
    m_menu = new QMenu(this);
    m_menu->addSeparator();
    for (const MenuEntry& entry : entries) {
        const QString text = menuTexts ? menuTexts->value(entry.menuIndex) : QString();
        QAction* action = m_menu->addAction(text);
        connect(action, SIGNAL(triggered()), this, entry.slot);
    }
    m_menu->addSeparator();
    QAction* close = m_menu->addAction(commonTexts ? commonTexts->value(3) : QString());
    connect(close, SIGNAL(triggered()), this, SLOT(OptMenu_Close()));
    m_menu->addSeparator();
}

void ToolDlgBase::ShowMenuAtCursor()
{
    if (!m_menu)
        return;
    m_menu->move(QCursor::pos());
    m_menu->show();
}

QPixmap ToolDlgBase::TurnedMenuIcon(int deg)
{
    if (m_menuIcon.isNull())
        return m_menuIcon;
    auto found = m_turnedIcons.constFind(deg);
    if (found != m_turnedIcons.constEnd())
        return *found;
    const QPixmap turned = m_menuIcon.transformed(QTransform().rotate(deg), Qt::SmoothTransformation);
    m_turnedIcons.insert(deg, turned);
    return turned;
}

void ToolDlgBase::PaintGround(QPainter& painter)
{
    if (m_seeThrough)
        return;
    for (const QRect& r : m_shape)
        painter.fillRect(r, platform::OpaqueOnWhite(kBodyFill));
}

QPoint ToolDlgBase::Pointer() const
{
    return mapFromGlobal(QCursor::pos());
}

void ToolDlgBase::Changed()
{
    const QRegion shape = Layout();
    const QRect dirty = m_shape.boundingRect() | shape.boundingRect();
    if (shape != m_shape) {
        m_shape = shape;
        setMask(shape);
    }
    update(dirty);
}

bool ToolDlgBase::eventFilter(QObject* watched, QEvent* event)
{
    // The handles never take an event: the labels ignore the mouse, so each
    // press, move and release goes on to this window's own handlers too.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == m_menuButton)
            m_menuButtonHeld = true;
        else
            HandlePressed(watched);
        break;
    case QEvent::MouseMove:
        if (watched != m_menuButton)
            HandleMoved(watched);
        break;
    case QEvent::MouseButtonRelease:
        if (watched == m_menuButton) {
            m_menuButtonHeld = false;
            ShowMenuAtCursor();
        } else {
            HandleReleased(watched);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ToolDlgBase::mousePressEvent(QMouseEvent* event)
{
    m_pressPosition = event->pos();
    m_pressRect = m_rect;
    m_workingRect = m_rect;
}

void ToolDlgBase::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressPosition = QPoint();
    m_pressRect = QRect();
    m_workingRect = QRect();
    setCursor(Qt::ArrowCursor);
    if (event->button() == Qt::RightButton)
        ShowMenuAtCursor();
}

void ToolDlgBase::showEvent(QShowEvent* event)
{
    // A compositing manager may have started or ended since the last show.
    m_seeThrough = platform::CompositorRunning();
    QWidget::showEvent(event);
    Changed();
}
