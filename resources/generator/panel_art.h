#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// One picture of the floating panels' resource folders (":/<folder>/<name>").
struct PanelPicture {
    QString folder;
    QString name;
    QImage image;
};

// Every picture the launcher and the sub-panels name, each in the states
// their style sheets use.
QVector<PanelPicture> PanelPictures();
