// Why an SQLite call failed, in the words of the tool, with what the engineer can do about it.
#pragma once

#include <sqlite3.h>

#include <string>

namespace qelto::logs::sqlite {

// "the disk is full; free some space on it and try again". db may be null (a failed open).
std::string reasonFor(sqlite3* db, int code);

// The same for an errno value of a file operation around the database (a folder, a rename).
std::string reasonForErrno(int err);

}  // namespace qelto::logs::sqlite
