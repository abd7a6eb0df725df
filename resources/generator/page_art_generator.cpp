// Writes the drawn page backgrounds as files:
//   page_art_generator --pdf <folder>   the four note papers as one-page PDFs
//                                       (the paper folder beside the program)
//   page_art_generator --png <folder>   every board and paper as a PNG (the
//                                       page images of the resource bundle)
#include "board/page_art.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>

namespace {

bool WritePaperPdf(const QString& name, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setCreator(QStringLiteral("Dravik"));
    writer.setTitle(name);
    const QSizeF sheet = PaperPageSize();
    writer.setPageLayout(QPageLayout(QPageSize(sheet, QPageSize::Point, name, QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const bool drawn = PaintPageArt(painter, name, sheet);
    painter.end();
    return drawn;
}

bool WritePng(const QString& name, const QString& path)
{
    // Papers at 96 dpi; the plain boards need no more than a small swatch.
    const bool paper = PaperArtNames().contains(name);
    const QSize size = paper ? (PaperPageSize() * 96.0 / 72.0).toSize() : QSize(160, 90);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const bool drawn = PaintPageArt(painter, name, QSizeF(size));
    painter.end();
    return drawn && image.save(path, "PNG");
}

}  // namespace

int main(int argc, char* argv[])
{
    // No screen is needed to draw into files.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("--pdf") && args[1] != QLatin1String("--png"))) {
        std::fprintf(stderr, "usage: page_art_generator --pdf|--png <folder>\n");
        return 2;
    }
    const QString folder = args[2];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    const bool pdf = args[1] == QLatin1String("--pdf");
    const QStringList names = pdf ? PaperArtNames() : BoardArtNames() + PaperArtNames();
    for (const QString& name : names) {
        const QString path = QDir(folder).filePath(name + (pdf ? ".pdf" : ".png"));
        if (!(pdf ? WritePaperPdf(name, path) : WritePng(name, path))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
