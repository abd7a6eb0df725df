#include "collab/ui/collipdlg.h"

#include <QLabel>
#include <QPushButton>

CollIpDlg::CollIpDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CollIpDlg"));
    setWindowTitle(QStringLiteral("Dialog"));
    resize(400, 300);
    label_IP = new QLabel(this);
    label_IP->setObjectName(QStringLiteral("label_IP"));
    label_IP->setGeometry(40, 130, 201, 71);
    label_IP->setTextFormat(Qt::AutoText);
    label_IP->setAlignment(Qt::AlignCenter);
    label_IP->setLayoutDirection(Qt::LeftToRight);
    label_IP->setText(QStringLiteral("TextLabel"));
    Btn_Close = new QPushButton(this);
    Btn_Close->setObjectName(QStringLiteral("Btn_Close"));
    Btn_Close->setGeometry(110, 230, 80, 20);
    Btn_Close->setText(QStringLiteral("Close"));
    QMetaObject::connectSlotsByName(this);

    setWindowFlags(Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
    setStyleSheet(QStringLiteral("background-color: qradialgradient(spread:pad, cx:0.5, cy:0.5, radius:2, fx:0.5, "
                                 "fy:0.5, stop:0 rgba(255, 255, 255, 255), stop:0.410811 rgba(0, 0, 0, 255));"));
}

void CollIpDlg::SetText(const QString& address, int width, int height)
{
    const QRect band = geometry();
    label_IP->setText(address);
    QFont labelFont = label_IP->font();
    labelFont.setPointSize(int(width * 0.08 + height * 0.01));
    labelFont.setWeight(QFont::Bold);
    label_IP->setFont(labelFont);
    QFont buttonFont = Btn_Close->font();
    buttonFont.setPointSize(int(height * 0.06));
    buttonFont.setWeight(QFont::Bold);
    Btn_Close->setFont(buttonFont);
    // The label spans the band from its own left edge: the band's place on
    // the screen is not a place inside it.
    const int quarter = band.height() / 2 / 2;
    label_IP->setGeometry(0, int(quarter / 1.5), band.width(), band.height() / 2);
    Btn_Close->setGeometry(band.width() / 2 / 2, int(band.height() / 1.3), band.width() / 2, int(quarter / 1.2));
}

void CollIpDlg::on_Btn_Close_clicked() { close(); }
