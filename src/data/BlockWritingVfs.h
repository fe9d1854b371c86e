#pragma once

// An SQLite file system for writing a copy of a database: it passes everything on to the
// platform's own, but gathers writes that continue one another into blocks of BlockBytes and
// writes each block at once. A copy written page after page then costs a few large writes
// instead of one small write per page. Anything that reads, sizes, truncates, syncs, locks or
// closes a file writes the gathered block first, so the file is always as SQLite wrote it.
namespace BlockWritingVfs {

// The platform's file system writes at most 128 KiB less one byte in one call.
inline constexpr int BlockBytes = 64 * 1024;

// The name to open a connection with (sqlite3_open_v2's last argument). Registered on first use;
// null when it cannot be registered (the platform's file system is then used as it is).
const char* name();

}  // namespace BlockWritingVfs
