#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: Qt's application object, and the way a target reports a broken
// promise of the code under test (libFuzzer keeps the input that caused it).

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

inline QByteArray fuzzInput(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

#define FUZZ_EXPECT(condition)                                                                    \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, __LINE__, #condition);          \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
