#include "app/ui/placeholder_dialog.h"

#include <QDebug>

PlaceholderDialog::PlaceholderDialog(const char* className, QWidget* parent)
    : QDialog(parent)
    , m_className(className)
{
}

void SayNotAvailableYet(const char* className)
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(className));
}

void PlaceholderDialog::setVisible(bool visible)
{
    if (visible) {
        SayNotAvailableYet(m_className);
        return;
    }
    QDialog::setVisible(false);
}

int PlaceholderDialog::exec()
{
    SayNotAvailableYet(m_className);
    return QDialog::Rejected;
}
