#include "storage/ui/projsave.h"

#include <QLabel>
#include <QPushButton>

projsave::projsave(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("projsave"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setModal(false);
    resize(200, 70);
    m_savestatus = new QLabel(this);
    m_savestatus->setObjectName(QStringLiteral("savestatus"));
    m_savestatus->setGeometry(10, 5, 180, 30);
    m_pushButton = new QPushButton(this);
    m_pushButton->setObjectName(QStringLiteral("pushButton"));
    m_pushButton->setGeometry(60, 38, 80, 26);
}
