#include "net/connection_end.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

void ConnectionEndWatch::watch(qintptr socketDescriptor) {
    release();
    if (socketDescriptor >= 0)
        descriptor_ = ::fcntl(int(socketDescriptor), F_DUPFD_CLOEXEC, 0);
}

ConnectionEnd ConnectionEndWatch::end() const {
    if (descriptor_ < 0)
        return ConnectionEnd::Closed;
    // After the peer's FIN the connection waits for our close (CLOSE_WAIT);
    // a reset leaves it closed outright, while this descriptor still holds it.
    tcp_info info{};
    socklen_t size = sizeof info;
    if (::getsockopt(descriptor_, IPPROTO_TCP, TCP_INFO, &info, &size) != 0)
        return ConnectionEnd::Closed;
    return info.tcpi_state == TCP_CLOSE ? ConnectionEnd::Reset : ConnectionEnd::Closed;
}

void ConnectionEndWatch::release() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}
