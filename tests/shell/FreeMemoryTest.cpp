#include "ui/common/FreeMemory.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace fenwold;

namespace {

double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1 << 20) : 0;
}

} // namespace

// Small blocks freed below one still in use stay in the allocator's heap, resident, until it is
// asked to give their pages back.
TEST(FreeMemory, PagesOfFreedSmallBlocksGoBackToTheSystem) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator stands in for the C library's";
#endif
    // Every 64th block stays, so the freed ones lie between blocks in use and not at the heap's
    // end, which the allocator gives back by itself.
    std::vector<void*> blocks(4096);
    for (void*& block : blocks) {
        block = std::malloc(4000);
        ASSERT_NE(block, nullptr);
        std::memset(block, 1, 4000);
    }
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (i % 64 != 63) std::free(std::exchange(blocks[i], nullptr));
    const double freedButResident = residentMiB();

    returnFreeMemory();
    EXPECT_LT(residentMiB(), freedButResident - 10); // of about 15 MiB freed
    for (void* block : blocks)
        std::free(block);
}
