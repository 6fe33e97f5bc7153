#include "text/removeoninterrupt.h"

#include <QFile>

#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace nobrisa {
namespace {

// A handler may run in any thread, at any moment, also while the main thread fills in or frees a
// slot: it takes a name only while the slot is armed and its version stayed the same around the
// copy, so it never deletes a half-written name.
struct Slot {
    enum State : int { Free, Writing, Armed };
    std::atomic<int> state{Free};
    std::atomic<unsigned> version{0};
    char path[PATH_MAX] = {};
};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<unsigned>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

constexpr int kSlotCount = 8;
Slot gSlots[kSlotCount];

} // namespace

RemoveOnInterrupt::RemoveOnInterrupt(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.size() >= PATH_MAX)
        return;
    for (int i = 0; i < kSlotCount; ++i) {
        int expected = Slot::Free;
        if (!gSlots[i].state.compare_exchange_strong(expected, Slot::Writing))
            continue;
        std::memcpy(gSlots[i].path, name.constData(), size_t(name.size()) + 1);
        gSlots[i].version.fetch_add(1);
        gSlots[i].state.store(Slot::Armed);
        mSlot = i;
        return;
    }
}

RemoveOnInterrupt::~RemoveOnInterrupt()
{
    if (mSlot < 0)
        return;
    gSlots[mSlot].state.store(Slot::Writing);
    gSlots[mSlot].version.fetch_add(1);
    gSlots[mSlot].state.store(Slot::Free);
}

void RemoveOnInterrupt::removeAll() noexcept
{
    for (Slot& slot : gSlots) {
        const unsigned version = slot.version.load();
        if (slot.state.load() != Slot::Armed)
            continue;
        char path[PATH_MAX];
        std::memcpy(path, slot.path, sizeof path);
        path[PATH_MAX - 1] = '\0';
        if (slot.state.load() == Slot::Armed && slot.version.load() == version)
            ::unlink(path);
    }
}

} // namespace nobrisa
