#pragma once

// The datagrams by which a participant finds the hosts of its network: a
// searcher broadcasts "CL/<its address>" from each of its addresses, a host
// answers "SV/<its participant ID>" to the address named. Both ends use the
// discovery port as their own port too.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>

namespace coll {

// How long a search waits for the next answer on one of its addresses.
constexpr int kDiscoveryWaitMs = 500;
// Every answer restarts that wait; these bound one address's pass all the
// same, so that a peer sending without pause cannot keep a search running.
constexpr int kDiscoveryPassLimitMs = 5000;
constexpr int kDiscoveryPassDatagrams = 256;

QByteArray DiscoveryQuery(const QString& ownAddress);
QByteArray DiscoveryAnswer(const QString& participantId);

// A datagram's text: UTF-8 up to its first NUL.
QString DiscoveryText(const QByteArray& datagram);

// The value of "<tag>/<value>": only a text of exactly two parts whose first
// is exactly the tag counts; false otherwise.
bool DiscoveryValue(const QString& text, const QString& tag, QString* value);

// Whether a query's address may be answered: one unicast IPv4 address in
// plain dotted form. "This network" (0.x), multicast, the reserved block with
// the limited broadcast, and the directed broadcasts given are refused, so a
// single query cannot make a host send to a whole network or a group.
bool AnswerableAddress(const QString& text, const QList<QHostAddress>& broadcasts);

// The directed broadcast addresses of this machine's IPv4 networks.
QList<QHostAddress> LocalBroadcastAddresses();

}  // namespace coll
