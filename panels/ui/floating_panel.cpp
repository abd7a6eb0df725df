#include "panels/ui/floating_panel.h"

#include <QBitmap>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPushButton>

namespace {

// The pixels of a picture opaque enough to be part of the window, at the
// size the picture is drawn (a border image stretches to its widget).
QRegion OpaquePixels(const QString& path, const QSize& size)
{
    QImage picture(path);
    if (picture.isNull() || size.isEmpty())
        return QRegion();
    if (picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    return QRegion(QBitmap::fromImage(picture.createAlphaMask(Qt::ThresholdAlphaDither)));
}

}  // namespace

QString PanelToolTip(const QStringList* hintTexts, const QStringList* configTexts, int key)
{
    // The configuration list holds keys 300 to 303, then 312 to 369, then
    // 373 to 401.
    auto configEntry = [](int k) {
        if (k >= 300 && k <= 303)
            return k - 300;
        if (k >= 312 && k <= 369)
            return k - 312 + 4;
        if (k >= 373 && k <= 401)
            return k - 373 + 62;
        return -1;
    };
    const QStringList* list = key >= 900 ? hintTexts : configTexts;
    const int entry = key >= 900 ? key - 900 : configEntry(key);
    if (!list || entry < 0 || entry >= list->size())
        return QString();
    return list->at(entry);
}

FloatingPanel::FloatingPanel(const char* className, const QString& title, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint)
{
    setObjectName(QLatin1String(className));
    QFont font(QStringLiteral("Tahoma"));
    setFont(font);
    setWindowTitle(title);
    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("bg"));
    m_background->setAlignment(Qt::AlignCenter);
    m_background->setScaledContents(false);
    // Without a window manager nothing keeps a window above the full-screen
    // board when the board raises itself; the panel follows it up instead.
    if (parent) {
        m_boardWindow = parent->window();
        m_boardWindow->installEventFilter(this);
    }
}

QPushButton* FloatingPanel::AddButton(const char* objectName)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setFocusPolicy(Qt::NoFocus);
    button->setText(QString());
    return button;
}

void FloatingPanel::SetPanelWindowFlags()
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}

void FloatingPanel::SetBackgroundPicture(const QString& folder, const QString& image, const QRect& geometry)
{
    m_background->setStyleSheet(PictureStyleSheet(folder, image));
    m_background->setGeometry(geometry);
    SetShapePicture(m_background, folder, image);
}

void FloatingPanel::StyleButton(QPushButton* button, const PanelButton& spec, const QString& sheet,
                                const QString& toolTip)
{
    button->setStyleSheet(sheet);
    button->setGeometry(spec.geometry);
    if (!toolTip.isEmpty())
        button->setToolTip(toolTip);
    SetShapePicture(button, QLatin1String(spec.folder), QLatin1String(spec.image));
}

void FloatingPanel::SetShapePicture(QWidget* widget, const QString& folder, const QString& image)
{
    m_pictureShapes.insert(widget, OpaquePixels(PanelPicturePath(folder, image), widget->size()));
}

void FloatingPanel::WatchHover(QPushButton* button)
{
    button->installEventFilter(this);
    m_hoverButtons.append(button);
}

void FloatingPanel::ApplyShape()
{
    QRegion shape;
    for (auto it = m_pictureShapes.constBegin(); it != m_pictureShapes.constEnd(); ++it) {
        if (!it.key()->isHidden())
            shape += it.value().translated(it.key()->pos());
    }
    m_shape = shape;
    // Without any picture the whole window stays; an empty mask would make
    // it vanish.
    if (shape.isEmpty())
        clearMask();
    else
        setMask(shape);
}

void FloatingPanel::SetHoverButton(QWidget* button, bool on)
{
    for (QPushButton* b : qAsConst(m_hoverButtons))
        b->setAttribute(Qt::WA_UnderMouse, b == button && on);
    update();
}

bool FloatingPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_boardWindow) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::ZOrderChange || type == QEvent::Show) && isVisible())
            raise();
        return QDialog::eventFilter(watched, event);
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button && m_hoverButtons.contains(button)) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::HoverLeave:
            SetHoverButton(nullptr, false);
            break;
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            SetHoverButton(button, true);
            break;
        default:
            break;
        }
    }
    // The mark only follows the events; every event still reaches its button.
    return QDialog::eventFilter(watched, event);
}

void FloatingPanel::showEvent(QShowEvent* event)
{
    ApplyShape();
    QDialog::showEvent(event);
}
