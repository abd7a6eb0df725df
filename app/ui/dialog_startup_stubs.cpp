// Stand-ins that let the whiteboard start end to end before the subsystems
// behind them exist. Each writes one debug line; each is removed from here
// when its real body lands.
#include "app/ui/dialog.h"

#include <QDebug>
#include <QGuiApplication>
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
    // The settings dialog comes with the panels, before the board model.
    CreateConfigDlg();
    InitBoardModel();
    ResetBoard(false);
    CreateImportDialogs();
    LoadCollaborationLibrary();
    // Its connections belong to the main connection table; the camera choice
    // follows them so that the choice reaches the window.
    ConnectConfigDlgSignals();
    SelectSavedCamera();
}

void Dialog::OptProjectSave(bool saveAs)
{
    qDebug().noquote() << QStringLiteral("exe : OptProjectSave(%1) is not available yet").arg(saveAs ? 1 : 0);
}

void Dialog::OpenISPFile(QString path)
{
    qDebug().noquote() << QStringLiteral("OpenISPFile : %1").arg(path);
}

void Dialog::OpenIICFile(QString path)
{
    qDebug().noquote() << QStringLiteral("OpenIICFile : %1").arg(path);
}
