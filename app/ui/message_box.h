#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box of the whiteboard goes through here. When the environment
// variable DRAVIK_NO_MODAL is set (tests and scripted runs), a box is not shown:
// it is written to the debug log as one line
//     message box <kind>: <title> | <text>
// and answers at once with its default button (or the first of its buttons),
// so nothing waits for a click that never comes.
namespace ui {

bool ModalBoxesSuppressed();

QMessageBox::StandardButton ShowMessageBox(QMessageBox::Icon icon, QWidget* parent,
                                           const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

inline QMessageBox::StandardButton CriticalBox(QWidget* parent, const QString& title, const QString& text)
{
    return ShowMessageBox(QMessageBox::Critical, parent, title, text);
}

inline QMessageBox::StandardButton WarningBox(QWidget* parent, const QString& title, const QString& text)
{
    return ShowMessageBox(QMessageBox::Warning, parent, title, text);
}

inline QMessageBox::StandardButton InformationBox(QWidget* parent, const QString& title, const QString& text)
{
    return ShowMessageBox(QMessageBox::Information, parent, title, text);
}

// The same for the file-open dialog: suppressed, it logs
//     file dialog open: <caption> | <start path>
// and answers as a cancelled dialog (an empty path).
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& startPath,
                        const QString& filter);

// The same for the save dialog, Qt's own (not the desktop's), so it looks
// and answers alike everywhere: suppressed, it logs
//     file dialog save: <caption> | <suggested path>
// and answers as cancelled (an empty path).
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestion,
                        const QString& filter);

// The folder chooser (folders only, symbolic links not resolved): suppressed,
// it logs
//     folder dialog: <caption> | <start path>
// and answers as cancelled (an empty path).
QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& startPath);

}  // namespace ui
