// Until the toolbar lands: its entry points used by the second stage.
#include "app/ui/dialog.h"

#include <QDebug>

void Dialog::SetButtons() { qDebug().noquote() << "exe : SetButtons is not available yet"; }
void Dialog::SetButtonStates() { qDebug().noquote() << "exe : SetButtonStates is not available yet"; }
void Dialog::SetToolbarPosition() { qDebug().noquote() << "exe : SetToolbarPosition is not available yet"; }
void Dialog::SetToolbarByRole(int, bool) { qDebug().noquote() << "exe : SetToolbarByRole is not available yet"; }
void Dialog::SetTollPosEnable() { qDebug().noquote() << "exe : SetTollPosEnable is not available yet"; }
void Dialog::SetEditActionEnable(int) { qDebug().noquote() << "exe : SetEditActionEnable is not available yet"; }
void Dialog::SetButtonStyle(QWidget*, QString, int, int) {}
