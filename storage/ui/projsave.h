#pragma once

#include "app/ui/placeholder_dialog.h"

// The notice shown while a project is saved.
class projsave : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit projsave(QWidget* parent = nullptr);
};
