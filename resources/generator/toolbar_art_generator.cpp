// Draws the toolbar's pictures, the floating panels' pictures and the shell's
// other pictures into a folder, with the resource list that bundles them under
// their names without extension (":/Draw/free1", ":/Etc/Loding"):
//   toolbar_art_generator <folder> <qrc file>
#include "resources/generator/panel_art.h"
#include "resources/generator/toolbar_art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    // No screen is needed to draw into files.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: toolbar_art_generator <folder> <qrc file>\n");
        return 2;
    }
    const QDir folder(args[1]);
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    QString qrc;
    QTextStream list(&qrc);
    list << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    auto entry = [&](const QString& group, const QString& name, const QString& file) {
        list << "    <file alias=\"" << group << '/' << name << "\">" << folder.filePath(file) << "</file>\n";
    };
    // Every picture goes into the folder of its group and gets its entry.
    auto write = [&](const QString& group, const QString& name, const QImage& image) {
        const QString file = group + '/' + name + ".png";
        if (!folder.mkpath(group) || !image.save(folder.filePath(file), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
        entry(group, name, file);
        return true;
    };
    for (const ToolbarPicture& picture : ToolbarPictures()) {
        if (!write(picture.group, picture.name, PaintToolbarPicture(picture)))
            return 1;
    }
    for (const PanelPicture& picture : PanelPictures()) {
        if (!write(picture.folder, picture.name, picture.image))
            return 1;
    }
    for (const DialogPicture& picture : DialogPictures()) {
        if (!write(picture.group, picture.name, picture.image))
            return 1;
    }
    if (!folder.mkpath("Etc") || !WriteAnimatedGif(folder.filePath("Etc/Loding.gif"), LoadingFrames(QSize(96, 96), 12), 8)) {
        std::fprintf(stderr, "cannot write the loading animation\n");
        return 1;
    }
    entry("Etc", "Loding", "Etc/Loding.gif");
    list << "</qresource>\n</RCC>\n";
    list.flush();
    QFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || out.write(qrc.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
