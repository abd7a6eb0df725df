// The second-stage initialisation, run once the window is shown.
#include "app/ui/dialog.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

void Dialog::InitDialog(bool autoUpdate)
{
    qDebug().noquote() << QStringLiteral("InitDialog(%1)").arg(autoUpdate ? 1 : 0);
    // Of the second stage, the steps the board needs to draw: the window on
    // the primary screen, the board model, then a blank first page.
    QRect rect = geometry();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        rect = QRect(QPoint(0, 0), screen->geometry().size());
    m_canvasWidth = rect.width();
    m_canvasHeight = rect.height();
    qDebug() << "1. rect_ScreenGeometry = " << rect;
    setGeometry(rect);
    setWindowFlags(Qt::FramelessWindowHint);
    emit MainDlgSetGeometry(rect);
    // The pen cursor shows the pen's spot; the blank one hides the pointer.
    m_cursorPen = QCursor(QPixmap(QStringLiteral(":/Cursor/pen")), -1, -1);
    m_cursorBlank = QCursor(Qt::BlankCursor);
    // The settings dialog comes with the panels, before the board model.
    CreateConfigDlg();
    InitBoardModel();
    SetButtons();
    // Toolbar placement: the saved position and floating panel place only
    // when the user asked to keep them.
    m_placement = MakeToolbarPlacement(m_canvasWidth, m_canvasHeight, m_scale);
    m_toolbarPosition = LaidOutPosition(m_config.toolsave ? m_config.toolpos : 1);
    m_floatingPosition = QPoint(0, 0);
    if (m_config.toolsave) {
        m_floatingPosition = QPoint(m_config.floatingX, m_config.floatingY);
        if (!m_config.dual && !QRect(0, 0, m_canvasWidth + 1, m_canvasHeight + 1).contains(m_floatingPosition))
            m_floatingPosition = QPoint(m_canvasWidth / 2, m_canvasHeight / 2);
    }
    SetButtonStates();
    ui->label_gif->hide();
    SetToolbarPosition();
    // The pen-width sliders open beside the bar on request; the recording
    // time shows only while recording.
    ui->horwidthslider->setFixedHeight(48);
    ui->horwidthslider->setStyleSheet(QStringLiteral("border-image: url(:/Bar/leftright);"));
    ui->horwidthslider->setCursor(Qt::ArrowCursor);
    ui->horwidthslider->hide();
    ui->verwidthslider->setFixedWidth(Scaled(45, m_scale));
    ui->verwidthslider->setStyleSheet(QStringLiteral("border-image: url(:/Bar/topbottom);"));
    ui->verwidthslider->setCursor(Qt::ArrowCursor);
    ui->verwidthslider->hide();
    ui->rectimeLabel->hide();
    ui->mainbar->setCursor(Qt::ArrowCursor);
    ui->logbtn->setCursor(Qt::ArrowCursor);
    ResetBoard(false);
    // The smart pen starts empty and knows its shapes from here on.
    m_board.smartPen.Clear();
    m_shapeRecognizer.LoadTemplates();
    CreateImportDialogs();
    LoadCollaborationLibrary();
    // Its connections belong to the main connection table; the camera choice
    // follows them so that the choice reaches the window.
    ConnectConfigDlgSignals();
    SelectSavedCamera();
}
