// Every unit operation: the reads and the writes.
#pragma once

#include "protocol/unit_reads.h"   // IWYU pragma: export
#include "protocol/unit_writes.h"  // IWYU pragma: export
