#include "logs/sqlite_errors.h"

#include <cerrno>

#include "platform/atomic_file.h"

namespace qelto::logs::sqlite {

std::string reasonForErrno(int err) {
    const std::string reason = platform::describeErrno(err);
    switch (err) {
        case EACCES:
        case EPERM:
        case EROFS:
            return reason + "; give your user write access to that folder";
        case ENOSPC:
        case EDQUOT:
            return reason + "; free some space on that disk and try again";
        case EISDIR:
            return reason + "; the history must be a file, so move that folder away";
        case ENOTDIR:
        case EEXIST:
            return "a file stands where a folder should be; move that file away";
        default:
            return reason;
    }
}

std::string reasonFor(sqlite3* db, int code) {
    switch (code & 0xff) {
        case SQLITE_FULL:
            return "the disk is full; free some space on that disk and try again";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "another program kept it locked for more than 5 seconds; try again when it "
                   "has finished";
        case SQLITE_READONLY:
            return "it is read-only; give your user write access to the file and its folder";
        case SQLITE_NOMEM:
            return "the computer ran out of memory";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return "it is damaged; Qelto sets it aside and starts a new history the next time it "
                   "opens it";
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
        case SQLITE_PERM:
            if (db != nullptr && sqlite3_system_errno(db) != 0) {
                return reasonForErrno(sqlite3_system_errno(db));
            }
            if ((code & 0xff) == SQLITE_CANTOPEN) {
                return "it cannot be opened; check that your user may read and write it and its "
                       "folder";
            }
            break;
        default:
            break;
    }
    return db != nullptr && sqlite3_errcode(db) == code ? sqlite3_errmsg(db) : sqlite3_errstr(code);
}

}  // namespace qelto::logs::sqlite
