#pragma once

class QDialog;
class QWidget;

// The updater's windows are laid out for 96 dpi with absolute geometry and
// scaled to the screen's logical resolution.

// Horizontal logical dots per inch of the primary screen; 96 without a screen.
int screenDpi();

// Outside a Korean locale the dialog's font family becomes "Segoe UI".
void applyLocaleFont(QDialog* dialog);

// Multiplies the widget's geometry by `factor` (truncated). With `centre` the
// widget then takes its preferred size and is centred vertically in its
// scaled row, keeping its left edge.
void scaleWidget(QWidget* widget, double factor, bool centre);

// Moves the widget by `dx` pixels horizontally.
void shiftWidget(QWidget* widget, int dx);

// Lets a window without layout take its preferred size and fixes it there.
void fitToPreferredSize(QWidget* window);
