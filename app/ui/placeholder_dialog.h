#pragma once

#include <QDialog>

// The base of a window the main window already creates, wires and configures
// but whose own working is not there yet. It keeps what it is given, never
// becomes visible, and says so once per request to show or run it, so every
// road that reaches it ends cleanly instead of opening an empty window.
// Writes the one "not available yet" line of a window that is not built yet.
void SayNotAvailableYet(const char* className);

class PlaceholderDialog : public QDialog
{
public:
    PlaceholderDialog(const char* className, QWidget* parent);

    void setVisible(bool visible) override;
    int exec() override;

private:
    const char* m_className;
};
