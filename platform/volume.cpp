#include "platform/volume.h"

#include "platform/launch.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cmath>

namespace platform {

namespace {

// A mixer answers within milliseconds; a hung one must not freeze the dialog.
constexpr int kMixerTimeoutMs = 2000;

QString MixerProgram()
{
    const QString chosen = qEnvironmentVariable("DRAVIK_MIXER");
    return chosen.isEmpty() ? QStringLiteral("amixer") : chosen;
}

QString MixerControl(int endpoint)
{
    return endpoint == kMicrophoneEndpoint ? QStringLiteral("Capture") : QStringLiteral("Master");
}

// The first channel's percentage of "amixer get" ("... [46%] [on]"), or -1.
int ReadPercent(int endpoint)
{
    if (endpoint != kSpeakerEndpoint && endpoint != kMicrophoneEndpoint)
        return -1;
    QByteArray output;
    const QStringList arguments = {QStringLiteral("-M"), QStringLiteral("get"), MixerControl(endpoint)};
    if (RunAndWait(MixerProgram(), arguments, kMixerTimeoutMs, &output) != 0)
        return -1;
    static const QRegularExpression percent(QStringLiteral("\\[(\\d{1,3})%\\]"));
    const QRegularExpressionMatch match = percent.match(QString::fromLocal8Bit(output));
    if (!match.hasMatch())
        return -1;
    return qBound(0, match.captured(1).toInt(), 100);
}

}  // namespace

bool ReadEndpointVolume(int endpoint, float* level)
{
    const int percent = ReadPercent(endpoint);
    if (percent < 0)
        return false;
    if (level)
        *level = float(percent) / 100.0f;
    return true;
}

float GetEndpointVolume(int endpoint)
{
    const int percent = ReadPercent(endpoint);
    return percent < 0 ? 0.0f : float(percent) / 100.0f;
}

void SetEndpointVolume(int endpoint, double level)
{
    if (endpoint != kSpeakerEndpoint && endpoint != kMicrophoneEndpoint)
        return;
    if (std::isnan(level))
        return;
    const int percent = qBound(0, int(std::lround(float(level) * 100.0)), 100);
    const QStringList arguments = {QStringLiteral("-M"), QStringLiteral("-q"), QStringLiteral("set"),
                                   MixerControl(endpoint), QStringLiteral("%1%").arg(percent)};
    RunAndWait(MixerProgram(), arguments, kMixerTimeoutMs);
}

}  // namespace platform
