#include "updater/ui/dialog_scaling.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

int screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96;
    return static_cast<int>(screen->logicalDotsPerInchX());
}

void applyLocaleFont(QDialog* dialog)
{
    if (QLocale().language() == QLocale::Korean)
        return;
    QFont font = dialog->font();
    font.setFamily(QStringLiteral("Segoe UI"));
    dialog->setFont(font);
}

void scaleWidget(QWidget* widget, double factor, bool centre)
{
    const QRect old = widget->geometry();
    const QRect scaled(static_cast<int>(old.x() * factor), static_cast<int>(old.y() * factor),
                       static_cast<int>(old.width() * factor), static_cast<int>(old.height() * factor));
    widget->setGeometry(scaled);
    if (!centre)
        return;
    widget->adjustSize();
    const QSize preferred = widget->size();
    widget->setGeometry(scaled.x(), scaled.y() + (scaled.height() - preferred.height()) / 2,
                        preferred.width(), preferred.height());
}

void shiftWidget(QWidget* widget, int dx)
{
    widget->move(widget->x() + dx, widget->y());
}

void fitToPreferredSize(QWidget* window)
{
    window->adjustSize();
    window->setFixedSize(window->size());
}
