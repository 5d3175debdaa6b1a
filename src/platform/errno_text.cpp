// describeErrno (atomic_file.h): the same words on every system.
#include <cerrno>
#include <cstring>

#include "platform/atomic_file.h"

namespace qelto::platform {

std::string describeErrno(int err) {
    switch (err) {
        case ENOENT:
            return "no such file or folder";
        case EACCES:
        case EPERM:
            return "permission denied";
        case ENOSPC:
            return "the disk is full";
        case EROFS:
            return "the file system is read-only";
        case EISDIR:
            return "it is a folder";
#ifdef EDQUOT  // not on Windows
        case EDQUOT:
            return "the disk quota is exhausted";
#endif
        default:
            return std::strerror(err);
    }
}

}  // namespace qelto::platform
