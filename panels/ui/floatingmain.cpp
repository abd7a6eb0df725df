#include "panels/ui/floatingmain.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

floatingmain::floatingmain(QWidget* parent)
    : FloatingPanel("floatingmain", QStringLiteral("Floating"), parent)
{
    resize(kLauncherSize, kLauncherSize);
    for (const PanelButton& spec : LauncherButtons())
        m_buttons << AddButton(spec.objectName);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imgmain"));
    SetPanelWindowFlags();
}

QPushButton* floatingmain::Button(const char* objectName) const
{
    return findChild<QPushButton*>(QLatin1String(objectName));
}

void floatingmain::InitDialog(QStringList* hintTexts, QStringList* menuTexts, int width, int height,
                              bool captureLoaded)
{
    m_hintTexts = hintTexts;
    m_menuTexts = menuTexts;
    m_screenWidth = width;
    m_screenHeight = height;
    m_dragging = false;
    for (QPushButton* button : qAsConst(m_buttons))
        WatchHover(button);
    setAttribute(Qt::WA_TranslucentBackground);
    resize(kLauncherSize, kLauncherSize);
    SetBackgroundPicture(QLatin1String(kLauncherFolder), QLatin1String(kLauncherBackground),
                         QRect(0, 0, kLauncherSize, kLauncherSize));
    const QVector<PanelButton>& specs = LauncherButtons();
    for (int i = 0; i < specs.size(); ++i) {
        StyleButton(m_buttons[i], specs[i], LauncherStyleSheet(QLatin1String(specs[i].folder), QLatin1String(specs[i].image)),
                    PanelToolTip(m_hintTexts, nullptr, specs[i].hintKey));
        // The rectangles overlap; a press belongs to the face under it.
        const QRect face = LauncherFaces()[i].translated(-QPointF(specs[i].geometry.topLeft())).toAlignedRect();
        m_buttons[i]->setMask(QRegion(face, QRegion::Ellipse));
    }
    m_picture->setGeometry(kLauncherPicture);
    m_picture->setStyleSheet(PictureStyleSheet(QStringLiteral("FloatingDraw"), QStringLiteral("f_s_m_pen")));

    connect(Button("btnPenMode"), SIGNAL(clicked()), this, SLOT(OptChangeWindow()));
    connect(Button("btnColor"), SIGNAL(clicked()), this, SLOT(OptColorWindow()));
    connect(Button("btnFigure"), SIGNAL(clicked()), this, SLOT(OptFigureWindow()));
    connect(Button("btnNote"), SIGNAL(clicked()), this, SLOT(OptNoteWindow()));
    connect(Button("btnNext"), SIGNAL(clicked()), this, SLOT(BtnNext()));
    connect(Button("btnZoom"), SIGNAL(clicked()), this, SLOT(OptZoomWindow()));
    connect(Button("btnRec"), SIGNAL(clicked()), this, SLOT(OptRecWindow()));
    connect(Button("btnEraser"), SIGNAL(clicked()), this, SLOT(OptEraserWindow()));
    connect(Button("btnPrev"), SIGNAL(clicked()), this, SLOT(BtnPrev()));

    if (!captureLoaded) {
        // Nothing to record with for this whole run.
        QPushButton* rec = Button("btnRec");
        rec->setStyleSheet(LauncherStyleSheet(QStringLiteral("FloatingRec"), QLatin1String(kLauncherRecordNone)));
        SetShapePicture(rec, QStringLiteral("FloatingRec"), QLatin1String(kLauncherRecordNone));
        rec->setDisabled(true);
    }
    hide();
}

void floatingmain::SetPenButtonImage(QString toolKey, bool transparent)
{
    const CentrePicture picture = LauncherCentrePicture(toolKey, transparent);
    if (picture.folder.isEmpty())
        return;
    m_picture->setStyleSheet(PictureStyleSheet(picture.folder, picture.image));
}

void floatingmain::SetPrevDisabled(bool disabled) { Button("btnPrev")->setDisabled(disabled); }
void floatingmain::SetNextDisabled(bool disabled) { Button("btnNext")->setDisabled(disabled); }

void floatingmain::OptColorWindow() { emit CallOptColorDialog(); }
void floatingmain::OptEraserWindow() { emit CallOptEraserDialog(); }
void floatingmain::OptFigureWindow() { emit CallOptFigureDialog(); }
void floatingmain::OptNoteWindow() { emit CallOptNoteDialog(); }
void floatingmain::OptChangeWindow() { emit CallOptChangeDialog(); }
void floatingmain::OptRecWindow() { emit CallOptRecDialog(); }
void floatingmain::OptZoomWindow() { emit CallOptZoomDialog(); }
void floatingmain::BtnPrev() { emit CallOptPrev(); }
void floatingmain::BtnNext() { emit CallOptNext(); }

void floatingmain::mousePressEvent(QMouseEvent* event)
{
    // Only the centre square is a handle; the ring between the buttons does
    // nothing.
    if (!kLauncherHandle.contains(event->pos()))
        return;
    if (event->button() == Qt::RightButton) {
        emit CallOptMenuBtn();
        return;
    }
    m_dragging = true;
    m_dragStart = event->pos();
}

void floatingmain::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    // The launcher may go partly off the screen; the sub-panels follow it.
    const int left = x() + (event->pos().x() - m_dragStart.x());
    const int top = y() + (event->pos().y() - m_dragStart.y());
    setGeometry(left, top, width(), height());
    emit CallSubAlign(QPoint(x(), y()));
}

void floatingmain::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
}

void floatingmain::keyPressEvent(QKeyEvent* event)
{
    // Escape would reject the dialog and close the launcher for good.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
