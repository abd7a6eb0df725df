#pragma once

#include <QString>

// Moves the calling test program into a network namespace of its own, made
// by an unprivileged user namespace, before any thread or socket exists (call
// it first in main). Inside, the loopback link is up and a veth pair carries
// the one TEST-NET address kNamespaceAddress, so "this machine's address" is
// known and port 4040 is nobody else's. Programs the test starts inherit the
// namespace. False (nothing changed) where namespaces cannot be made.
bool EnterOwnNetworkNamespace();

// Whether EnterOwnNetworkNamespace succeeded in this process.
bool InOwnNetworkNamespace();

extern const char* const kNamespaceAddress;  // "192.0.2.1"

// Gives the namespace's link one more TEST-NET address ("192.0.2.N/24"), so
// that this machine has several; programs list it only when started after.
bool AddNamespaceAddress(const QString& address);

// A main for Qt tests that must talk over the network only inside their own
// namespace; the tests skip themselves when InOwnNetworkNamespace() is false.
#define DRAVIK_NETNS_TEST_MAIN(TestObject, Application)      \
    int main(int argc, char** argv)                           \
    {                                                         \
        EnterOwnNetworkNamespace();                           \
        Application app(argc, argv);                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);              \
        TestObject tc;                                        \
        QTEST_SET_MAIN_SOURCE_PATH                            \
        return QTest::qExec(&tc, argc, argv);                 \
    }
