#include "board/note_pages.h"

#include <algorithm>

const char* const kWhiteBoardName = "WhiteBoard";
const char* const kBlackBoardName = "BlackBoard";

QString PageSourcePath(int type, const QString& name, const QString& path, const QString& paperFolder)
{
    if (type != kBoardPage)
        return path;
    if (name == QLatin1String(kWhiteBoardName) || name == QLatin1String(kBlackBoardName))
        return name;
    return paperFolder + name + QStringLiteral(".pdf");
}

QString PageImagePath(const QString& workFolder, const QString& stamp)
{
    return workFolder + stamp + QStringLiteral(".jpg");
}

PageAfterDelete SettleAfterDelete(const QStringList& stamps, int currentIndex, int countBefore,
                                  const QString& currentStamp, const QString& removedStamp)
{
    PageAfterDelete after;
    after.index = currentIndex;
    if (stamps.isEmpty()) {
        after.index = 0;
        after.needBlankPage = true;
        return after;
    }
    if (removedStamp == currentStamp) {
        if (after.index != 0 && after.index == countBefore - 1)
            --after.index;
        after.showPage = true;
    } else {
        const int found = stamps.indexOf(currentStamp);
        if (found >= 0)
            after.index = found;
    }
    // The list may have shrunk by more than the one page we were told of.
    if (after.index >= stamps.size())
        after.index = stamps.size() - 1;
    if (after.index < 0)
        after.index = 0;
    return after;
}

QString PageLabelText(int level, int noteIndex, int noteCount, int peerIndex, int peerCount)
{
    if (level == 0 || level == 3)
        return QStringLiteral("%1/%2").arg(noteIndex + 1).arg(noteCount);
    if (level == 1 || level == 2)
        return QStringLiteral("%1/%2").arg(peerIndex + 1).arg(peerCount);
    return QString();
}

QString RecordClockText(qint64 elapsedMs)
{
    const qint64 seconds = elapsedMs / 1000;
    const qint64 hours = seconds / 3600;
    qint64 minutes = seconds / 60;
    if (minutes >= 60)
        minutes %= 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

int DistinctPagePosition(const QStringList& shownStamps, int shownCount, QStringList* distinct,
                         const QString& stamp)
{
    const int count = std::min(shownCount, int(shownStamps.size()));
    for (int i = 0; i < count; ++i) {
        if (!distinct->contains(shownStamps.at(i)))
            distinct->append(shownStamps.at(i));
    }
    const int position = distinct->indexOf(stamp);
    return position < 0 ? 0 : position;
}

void ShiftIndexesAbove(QVector<int>* indexes, int currentIndex)
{
    for (int& index : *indexes) {
        if (index > currentIndex)
            ++index;
    }
}
