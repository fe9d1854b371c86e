#include "BlockWritingVfs.h"

#include <cstring>
#include <sqlite3.h>

namespace BlockWritingVfs {
namespace {

// One open file: the platform's file object follows this one in the same allocation.
struct BlockFile {
    sqlite3_file base;
    sqlite3_file* real;
    char* block;                // the gathered writes
    sqlite3_int64 blockStart;   // their offset in the file
    int blockUsed;              // their length
};

static_assert(sizeof(BlockFile) % 8 == 0, "the platform's file object must stay aligned");

sqlite3_vfs* platform = nullptr;

BlockFile* blockFile(sqlite3_file* file) { return reinterpret_cast<BlockFile*>(file); }
const sqlite3_io_methods& realMethods(BlockFile* f) { return *f->real->pMethods; }

int writeBlock(BlockFile* f)
{
    if (f->blockUsed == 0)
        return SQLITE_OK;
    const int rc = realMethods(f).xWrite(f->real, f->block, f->blockUsed, f->blockStart);
    f->blockUsed = 0;
    return rc;
}

int fileClose(sqlite3_file* file)
{
    BlockFile* f = blockFile(file);
    const int written = writeBlock(f);
    const int closed = realMethods(f).xClose(f->real);
    sqlite3_free(f->block);
    f->block = nullptr;
    return written != SQLITE_OK ? written : closed;
}

// Writes the gathered block, then passes the call on to the platform's file.
template <typename Call>
int afterWritingBlock(sqlite3_file* file, Call call)
{
    BlockFile* f = blockFile(file);
    if (const int rc = writeBlock(f); rc != SQLITE_OK)
        return rc;
    return call(realMethods(f), f->real);
}

int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) {
        return m.xRead(real, buffer, amount, offset);
    });
}

int fileWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    BlockFile* f = blockFile(file);
    const bool continues = f->blockUsed > 0 && offset == f->blockStart + f->blockUsed;
    if (continues && amount <= BlockBytes - f->blockUsed) {
        std::memcpy(f->block + f->blockUsed, data, static_cast<size_t>(amount));
        f->blockUsed += amount;
        return SQLITE_OK;
    }
    if (const int rc = writeBlock(f); rc != SQLITE_OK)
        return rc;
    if (amount >= BlockBytes)
        return realMethods(f).xWrite(f->real, data, amount, offset);
    std::memcpy(f->block, data, static_cast<size_t>(amount));
    f->blockStart = offset;
    f->blockUsed = amount;
    return SQLITE_OK;
}

int fileTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) { return m.xTruncate(real, size); });
}

int fileSync(sqlite3_file* file, int flags)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) { return m.xSync(real, flags); });
}

int fileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) { return m.xFileSize(real, size); });
}

int fileLock(sqlite3_file* file, int level)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) { return m.xLock(real, level); });
}

int fileUnlock(sqlite3_file* file, int level)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) { return m.xUnlock(real, level); });
}

int fileControl(sqlite3_file* file, int op, void* argument)
{
    return afterWritingBlock(file, [&](const sqlite3_io_methods& m, sqlite3_file* real) {
        return m.xFileControl(real, op, argument);
    });
}

int fileCheckReservedLock(sqlite3_file* file, int* reserved)
{
    BlockFile* f = blockFile(file);
    return realMethods(f).xCheckReservedLock(f->real, reserved);
}

int fileSectorSize(sqlite3_file* file)
{
    BlockFile* f = blockFile(file);
    return realMethods(f).xSectorSize(f->real);
}

int fileDeviceCharacteristics(sqlite3_file* file)
{
    BlockFile* f = blockFile(file);
    return realMethods(f).xDeviceCharacteristics(f->real);
}

// Version 1: no shared memory and no memory mapping, so every byte goes through the methods above.
const sqlite3_io_methods methods = {
    1,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    BlockFile* f = blockFile(file);
    f->real = reinterpret_cast<sqlite3_file*>(f + 1);
    f->real->pMethods = nullptr;
    f->block = nullptr;
    f->blockStart = 0;
    f->blockUsed = 0;
    file->pMethods = nullptr;
    int rc = platform->xOpen(platform, name, f->real, flags, outFlags);
    if (rc == SQLITE_OK) {
        f->block = static_cast<char*>(sqlite3_malloc(BlockBytes));
        if (!f->block)
            rc = SQLITE_NOMEM;
    }
    if (rc != SQLITE_OK) {
        if (f->real->pMethods)
            f->real->pMethods->xClose(f->real);
        return rc;
    }
    file->pMethods = &methods;
    return SQLITE_OK;
}

sqlite3_vfs makeVfs()
{
    platform = sqlite3_vfs_find(nullptr);
    sqlite3_vfs vfs{};
    if (!platform)
        return vfs;
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(BlockFile)) + platform->szOsFile;
    vfs.mxPathname = platform->mxPathname;
    vfs.zName = "corvel-blocks";
    vfs.xOpen = vfsOpen;
    vfs.xDelete = [](sqlite3_vfs*, const char* name, int syncDir) { return platform->xDelete(platform, name, syncDir); };
    vfs.xAccess = [](sqlite3_vfs*, const char* name, int flags, int* result) {
        return platform->xAccess(platform, name, flags, result);
    };
    vfs.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
        return platform->xFullPathname(platform, name, size, out);
    };
    vfs.xRandomness = [](sqlite3_vfs*, int size, char* out) { return platform->xRandomness(platform, size, out); };
    vfs.xSleep = [](sqlite3_vfs*, int microseconds) { return platform->xSleep(platform, microseconds); };
    vfs.xCurrentTime = [](sqlite3_vfs*, double* now) { return platform->xCurrentTime(platform, now); };
    vfs.xGetLastError = [](sqlite3_vfs*, int size, char* out) { return platform->xGetLastError(platform, size, out); };
    vfs.xCurrentTimeInt64 = [](sqlite3_vfs*, sqlite3_int64* now) {
        return platform->xCurrentTimeInt64 ? platform->xCurrentTimeInt64(platform, now) : SQLITE_ERROR;
    };
    return vfs;
}

}  // namespace

const char* name()
{
    static sqlite3_vfs vfs = makeVfs();
    static const bool registered = vfs.xOpen && sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
    return registered ? vfs.zName : nullptr;
}

}  // namespace BlockWritingVfs
