/* Preloaded into the front-end when it serves its window over VNC: Qt's VNC platform listens
 * on every interface and has no option to choose one, so a listening socket asked for "any
 * address" is bound to the loopback address instead. The preload is removed from the
 * environment at once, so the generators the front-end starts do not inherit it. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>

typedef int (*bind_function)(int, const struct sockaddr*, socklen_t);

__attribute__((constructor)) static void forget_preload(void) { unsetenv("LD_PRELOAD"); }

int bind(int fd, const struct sockaddr* address, socklen_t length) {
    static bind_function real_bind;
    if (!real_bind)
        real_bind = (bind_function)dlsym(RTLD_NEXT, "bind");

    if (address && address->sa_family == AF_INET && length >= sizeof(struct sockaddr_in)) {
        struct sockaddr_in loopback;
        memcpy(&loopback, address, sizeof loopback);
        if (loopback.sin_addr.s_addr == htonl(INADDR_ANY)) {
            loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return real_bind(fd, (const struct sockaddr*)&loopback, sizeof loopback);
        }
    }
    if (address && address->sa_family == AF_INET6 && length >= sizeof(struct sockaddr_in6)) {
        struct sockaddr_in6 loopback;
        memcpy(&loopback, address, sizeof loopback);
        if (memcmp(&loopback.sin6_addr, &in6addr_any, sizeof in6addr_any) == 0) {
            /* ::ffff:127.0.0.1, so the dual-stack socket still takes IPv4 clients of 127.0.0.1 */
            static const unsigned char mapped_loopback[16] = {0, 0, 0, 0, 0, 0, 0, 0,
                                                              0, 0, 0xff, 0xff, 127, 0, 0, 1};
            memcpy(&loopback.sin6_addr, mapped_loopback, sizeof mapped_loopback);
            return real_bind(fd, (const struct sockaddr*)&loopback, sizeof loopback);
        }
    }
    return real_bind(fd, address, length);
}
