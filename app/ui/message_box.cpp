#include "app/ui/message_box.h"

#include <QDebug>
#include <QFileDialog>

namespace ui {

namespace {

QString IconName(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Critical: return QStringLiteral("critical");
    case QMessageBox::Warning: return QStringLiteral("warning");
    case QMessageBox::Question: return QStringLiteral("question");
    case QMessageBox::Information: return QStringLiteral("information");
    case QMessageBox::NoIcon: break;
    }
    return QStringLiteral("plain");
}

// The button a box answers with when nobody can click: its default, else the
// first of its buttons in QMessageBox's own order.
QMessageBox::StandardButton UnattendedAnswer(QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (buttons.testFlag(QMessageBox::StandardButton(bit)))
            return QMessageBox::StandardButton(bit);
    }
    return QMessageBox::NoButton;
}

}  // namespace

bool ModalBoxesSuppressed()
{
    return !qEnvironmentVariableIsEmpty("DRAVIK_NO_MODAL");
}

QMessageBox::StandardButton ShowMessageBox(QMessageBox::Icon icon, QWidget* parent,
                                           const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    if (ModalBoxesSuppressed()) {
        qWarning().noquote() << QStringLiteral("message box %1: %2 | %3").arg(IconName(icon), title, text);
        return UnattendedAnswer(buttons, defaultButton);
    }
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& startPath,
                        const QString& filter)
{
    if (ModalBoxesSuppressed()) {
        qWarning().noquote() << QStringLiteral("file dialog open: %1 | %2").arg(caption, startPath);
        return QString();
    }
    return QFileDialog::getOpenFileName(parent, caption, startPath, filter);
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestion,
                        const QString& filter)
{
    if (ModalBoxesSuppressed()) {
        qWarning().noquote() << QStringLiteral("file dialog save: %1 | %2").arg(caption, suggestion);
        return QString();
    }
    return QFileDialog::getSaveFileName(parent, caption, suggestion, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& startPath)
{
    if (ModalBoxesSuppressed()) {
        qWarning().noquote() << QStringLiteral("folder dialog: %1 | %2").arg(caption, startPath);
        return QString();
    }
    return QFileDialog::getExistingDirectory(parent, caption, startPath,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

}  // namespace ui
