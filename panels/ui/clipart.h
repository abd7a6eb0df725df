#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>
#include <QStringList>

// The clip-art browser.
class clipart : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit clipart(QWidget* parent = nullptr);

    void InitDialog(QString clipArtFolder);
    void SetLanguageText(QStringList* commonTexts, QStringList* clipartTexts);
    QString folder() const { return m_folder; }

signals:
    void InsertImage(QString path);
    void InsertBackGroundImage(QString path);

private:
    QString m_folder;
};
