#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// A small frameless notice the main window keeps from start-up to shutdown.
// Nothing shows it or reacts to its button; it only exists.
class projsave : public QDialog
{
    Q_OBJECT

public:
    explicit projsave(QWidget* parent = nullptr);

private:
    QLabel* m_savestatus = nullptr;
    QPushButton* m_pushButton = nullptr;
};
