#include "app/ui/placeholder_dialog.h"

#include <QDebug>

PlaceholderDialog::PlaceholderDialog(const char* className, QWidget* parent)
    : QDialog(parent)
    , m_className(className)
{
}

void PlaceholderDialog::SayNotAvailable() const
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(m_className));
}

void PlaceholderDialog::setVisible(bool visible)
{
    if (visible) {
        SayNotAvailable();
        return;
    }
    QDialog::setVisible(false);
}

int PlaceholderDialog::exec()
{
    SayNotAvailable();
    return QDialog::Rejected;
}
