#include "collab/discovery_core.h"

#include <QNetworkInterface>
#include <QStringList>

namespace coll {

QByteArray DiscoveryQuery(const QString& ownAddress) { return QStringLiteral("CL/%1").arg(ownAddress).toUtf8(); }

QByteArray DiscoveryAnswer(const QString& participantId)
{
    return QStringLiteral("SV/%1").arg(participantId).toUtf8();
}

QString DiscoveryText(const QByteArray& datagram)
{
    const int end = datagram.indexOf('\0');
    return QString::fromUtf8(end < 0 ? datagram : datagram.left(end));
}

bool DiscoveryValue(const QString& text, const QString& tag, QString* value)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 2 || parts.first() != tag)
        return false;
    *value = parts.last();
    return true;
}

bool AnswerableAddress(const QString& text, const QList<QHostAddress>& broadcasts)
{
    QHostAddress address;
    // The parser also takes short, octal and hexadecimal forms; only the form
    // it would write itself is plain.
    if (!address.setAddress(text) || address.protocol() != QAbstractSocket::IPv4Protocol
        || address.toString() != text)
        return false;
    const quint32 value = address.toIPv4Address();
    const quint32 firstOctet = value >> 24;
    if (firstOctet == 0 || firstOctet >= 224)
        return false;
    return !broadcasts.contains(address);
}

QList<QHostAddress> LocalBroadcastAddresses()
{
    QList<QHostAddress> broadcasts;
    for (const QNetworkInterface& network : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : network.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.broadcast().isNull())
                broadcasts << entry.broadcast();
        }
    }
    return broadcasts;
}

}  // namespace coll
