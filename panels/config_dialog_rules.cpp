#include "panels/config_dialog_rules.h"

#include <cmath>

namespace configdlg {

namespace {

const char kBlackboardColorName[] = "blackboard color";

}  // namespace

const QStringList& BoardColorNames()
{
    static const QStringList names = {
        QStringLiteral("white"),  QStringLiteral("maroon"), QStringLiteral("purple"),
        QStringLiteral("navy"),   QStringLiteral("blue"),   QStringLiteral("cyan"),
        QStringLiteral("lime"),   QStringLiteral("green"),  QStringLiteral("olive"),
        QStringLiteral("teal"),   QStringLiteral("magenta"), QStringLiteral("red"),
        QStringLiteral("orange"), QStringLiteral("yellow"), QStringLiteral("silver"),
        QStringLiteral("gray"),   QStringLiteral("black"),  QString::fromLatin1(kBlackboardColorName),
    };
    return names;
}

QColor BoardColorSwatch(const QString& name)
{
    if (name == QLatin1String(kBlackboardColorName))
        return QColor(25, 74, 57, 255);
    return QColor(name);
}

int SteppedPenWidth(int width, int step)
{
    if (step < 0)
        return width <= kMinPenWidth ? width : width - 1;
    if (step > 0)
        return width >= kMaxPenWidth ? width : width + 1;
    return width;
}

int PenWidthFromText(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

RecordingControls RecordingControlsForType(int type)
{
    switch (type) {
    case 0: return {true, true, true, false};
    case 1: return {true, false, true, false};
    case 2: return {true, false, true, true};
    case 3: return {true, true, true, true};
    default: return {};
    }
}

RecordingChoices RecordingDefaultChoices()
{
    return RecordingChoices();
}

int VolumePercent(float level)
{
    // A ten-thousandth of a percent absorbs the float's representation error
    // and nothing a mixer can tell apart.
    return int(std::floor(double(level) * 100.0 + 1e-4));
}

QString ImageFileFilter()
{
    return QStringLiteral("Images (*.gif *.png *.bmp *.jpg)");
}

QString VersionCaption(const QString& version)
{
    return QStringLiteral("Version : %1").arg(version);
}

QString WebsiteLink(const QString& address)
{
    return QStringLiteral("<a href=\"%1/\">%2</a>").arg(address, address);
}

QString DialogFontFamily(int language)
{
    return language != 0 ? QStringLiteral("Tahoma") : QStringLiteral("Malgun Gothic");
}

}  // namespace configdlg
