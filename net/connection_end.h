#pragma once
// Tells a reset from an orderly close. The toolkit's socket reports both as
// "the remote host closed the connection" and closes its descriptor at once,
// so the control keeps a second descriptor of the same connection from the
// moment it is established and asks the kernel, once the close is reported,
// which of the two it was. Linux only, as the program is.

#include "net/response.h"

#include <QtGlobal>

class ConnectionEndWatch {
public:
    ConnectionEndWatch() = default;
    ConnectionEndWatch(const ConnectionEndWatch&) = delete;
    ConnectionEndWatch& operator=(const ConnectionEndWatch&) = delete;
    ~ConnectionEndWatch() { release(); }

    // Keeps a second descriptor of the connected socket; a former one is
    // released first.
    void watch(qintptr socketDescriptor);
    // Reset when the kernel shows the connection reset; Closed otherwise,
    // and when nothing is watched.
    ConnectionEnd end() const;
    // Gives the second descriptor back; the connection closes with the last.
    void release();

private:
    int descriptor_ = -1;
};
