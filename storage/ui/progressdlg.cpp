#include "storage/ui/progressdlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

progressdlg::progressdlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("progressdlg"));
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    setFixedSize(240, 50);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setGeometry(0, 0, 240, 25);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setGeometry(0, 26, 240, 24);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAutoFillBackground(false);
    m_label->setText(QStringLiteral("입력"));
}

progressdlg::~progressdlg() = default;

void progressdlg::SetText(QString text) { m_label->setText(text); }
void progressdlg::SetValue(int value) { m_progressBar->setValue(value); }
void progressdlg::SetMaximum(int maximum) { m_progressBar->setMaximum(maximum); }

QString progressdlg::text() const { return m_label->text(); }
int progressdlg::value() const { return m_progressBar->value(); }
int progressdlg::maximum() const { return m_progressBar->maximum(); }

void progressdlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
