#include "tests/support/floating_faces.h"

#include <QImage>

QPoint LauncherFaceCentre(const char* objectName)
{
    const QVector<PanelButton>& specs = LauncherButtons();
    for (int i = 0; i < specs.size(); ++i) {
        if (QLatin1String(specs[i].objectName) == QLatin1String(objectName))
            return LauncherFaces()[i].center().toPoint();
    }
    return QPoint();
}

QPoint RingFaceCentre(const QVector<PanelButton>& specs, const char* objectName)
{
    for (const PanelButton& spec : specs) {
        if (QLatin1String(spec.objectName) != QLatin1String(objectName))
            continue;
        const QImage face = QImage(PanelPicturePath(spec.folder, spec.image)).convertToFormat(QImage::Format_ARGB32);
        QPoint sum;
        int n = 0;
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                if (qAlpha(face.pixel(x, y)) > 200) {
                    sum += QPoint(x, y);
                    ++n;
                }
            }
        }
        return spec.geometry.topLeft() + (n ? sum / n : spec.geometry.center() - spec.geometry.topLeft());
    }
    return QPoint();
}
