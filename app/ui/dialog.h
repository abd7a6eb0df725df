#pragma once

#include <QWidget>

// The main window. It holds the whole board state and carries the methods of
// the shell, the canvas, editing, storage and collaboration; its method bodies
// are split by topic into the ui/ folders of those subsystems
// (app/ui/dialog_*.cpp, board/ui/dialog_*.cpp, storage/ui/dialog_*.cpp, ...).
// Members are grouped below by subsystem; keep each group together.
class Dialog : public QWidget
{
    Q_OBJECT

public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

    // --- shell: start-up, construction, teardown ---------------------------

    // --- canvas: board model, pointer input, drawing ------------------------

    // --- editing: selection and undo/redo -----------------------------------

    // --- storage: settings, language, projects, PDF -------------------------

    // --- collaboration ------------------------------------------------------

signals:

public slots:

private:
};
