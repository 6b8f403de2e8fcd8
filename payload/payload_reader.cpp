#include "payload/payload_reader.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>

#include "base/errors.h"
#include "base/text.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "payload/payload_item.h"
#include "payload/payload_key.h"
#include "payload/read_schedule.h"

namespace pellion {
namespace {

struct ResourceBytes {
    const uint8_t* data;
    size_t size;
};

// The resource's bytes where the loader mapped them. The installer is linked
// with a 4096-byte file alignment, so they are paged in from the file as
// they are read instead of all being copied at start. Resource handles of a
// loaded module need no release: FreeResource does nothing on Win32.
ResourceBytes FindOwnResource(const std::string& name) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    // FindResourceW matches string names without regard to case.
    HRSRC info = ::FindResourceW(module, win::Widen(name).c_str(), RT_RCDATA);
    if (!info) throw EResNotFound(Format("Resource %s not found", name.c_str()));
    DWORD size = ::SizeofResource(module, info);
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data && size) throw EReadError("Stream read error");
    return {static_cast<const uint8_t*>(data), size};
}

// The items, the key made once on the calling thread (making it moves the
// process-wide generator), which items may be decoded at once, and the
// workers' shared counters. `schedule` is used under `lock`; `changed` wakes
// workers waiting for room when an item ends.
struct ReadJob {
    std::vector<PayloadRead>* items;
    std::string key;
    std::unique_ptr<ReadSchedule> schedule;
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
    std::atomic<size_t> running{0};
    HANDLE finished;  // set by the last worker to end
};

class Locked {
  public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ::ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    SRWLOCK& lock_;
};

// The heap each item's decoding takes, from its header; an item whose
// resource cannot be read takes none (its worker meets the same error and
// keeps it).
std::vector<ItemMemory> MemoryOfItems(const std::vector<PayloadRead>& items,
                                      const std::string& key) {
    std::vector<ItemMemory> memory(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        try {
            ResourceBytes stored = FindOwnResource(items[i].resource);
            memory[i] = DecodeMemoryOf(stored.data, stored.size, key);
        } catch (...) {
        }
    }
    return memory;
}

enum class Outcome { kDecoded, kFailed, kNoMemory };

// One item decoded into `read`, its error kept there.
Outcome DecodeOne(const std::string& key, PayloadRead& read) {
    try {
        ResourceBytes stored = FindOwnResource(read.resource);
        DecodePayloadItem(stored.data, stored.size, key, read.fileName, read.dateTime,
                          read.content);
        return Outcome::kDecoded;
    } catch (const EOutOfMemory&) {
        read.error = std::current_exception();
    } catch (const std::bad_alloc&) {
        // Met before the decoder knew the item's name, or while it made the
        // error naming it; the bare bad_alloc stands when even the text
        // cannot be had.
        try {
            read.error = std::make_exception_ptr(EOutOfMemory(
                NotEnoughMemoryText(read.fileName.empty() ? read.resource : read.fileName)));
        } catch (const std::bad_alloc&) {
            read.error = std::current_exception();
        }
    } catch (...) {
        read.error = std::current_exception();
        return Outcome::kFailed;
    }
    return Outcome::kNoMemory;
}

// Takes the next item the schedule lets start, waiting while there is no
// room; false when none is left.
bool TakeItem(ReadJob& job, size_t& item) {
    Locked locked(job.lock);
    for (;;) {
        switch (job.schedule->Next(item)) {
            case ReadSchedule::Turn::kStart:
                return true;
            case ReadSchedule::Turn::kDone:
                return false;
            case ReadSchedule::Turn::kWait:
                ::SleepConditionVariableSRW(&job.changed, &job.lock, INFINITE, 0);
                break;
        }
    }
}

void EndItem(ReadJob& job, size_t item, Outcome outcome) {
    {
        Locked locked(job.lock);
        if (outcome == Outcome::kNoMemory && job.schedule->TryAgainAlone(item)) {
            // Starts afresh: what the failed try left is dropped.
            PayloadRead& read = (*job.items)[item];
            read.error = nullptr;
            std::string().swap(read.content);
        } else {
            job.schedule->Ended(item, outcome == Outcome::kDecoded);
        }
    }
    ::WakeAllConditionVariable(&job.changed);
}

DWORD WINAPI ReadWorker(void* param) {
    ReadJob& job = *static_cast<ReadJob*>(param);
    size_t item;
    while (TakeItem(job, item)) EndItem(job, item, DecodeOne(job.key, (*job.items)[item]));
    if (--job.running == 0) ::SetEvent(job.finished);
    return 0;
}

// The worker threads, waited for and closed on every way out. The list has
// room for every thread before the first starts: a failed allocation later
// would leave running workers whose job is about to be destroyed.
class Workers {
  public:
    Workers(ReadJob& job, size_t count) {
        threads_.reserve(count);
        job.running = count;
        for (size_t i = 0; i < count; ++i) {
            HANDLE thread = ::CreateThread(nullptr, 0, ReadWorker, &job, 0, nullptr);
            if (thread) {
                threads_.push_back(thread);
            } else if (--job.running == 0) {
                ::SetEvent(job.finished);
            }
        }
    }
    ~Workers() {
        ::WaitForMultipleObjects(DWORD(threads_.size()), threads_.data(), TRUE, INFINITE);
        for (HANDLE thread : threads_) ::CloseHandle(thread);
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    bool Started() const { return !threads_.empty(); }

  private:
    std::vector<HANDLE> threads_;
};

// Calls `answerMessages` for every message that arrives until the workers
// have ended. Once a quit request is queued (the callback posts it again
// for the application's loop), a wait that wakes for input would wake at
// once every time: from then on only the workers are waited for.
void AnswerUntilFinished(HANDLE finished, const std::function<void()>& answerMessages) {
    for (;;) {
        const DWORD woke =
            ::MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) return;
        if (woke != WAIT_OBJECT_0 + 1) break;  // the wait failed: nothing to answer
        answerMessages();
        MSG quit;
        if (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) break;
    }
    ::WaitForSingleObject(finished, INFINITE);
}

}  // namespace

void ReadPayloadItems(std::vector<PayloadRead>& items, const std::function<void()>& answerMessages,
                      size_t workers) {
    if (items.empty()) return;
    ReadJob job;
    job.items = &items;
    BuildPayloadKey(job.key);
    job.schedule = std::make_unique<ReadSchedule>(MemoryOfItems(items, job.key));
    win::UniqueKernelHandle finished(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    job.finished = finished.Get();
    if (!finished) {
        job.running = 1;
        ReadWorker(&job);
        return;
    }
    if (workers == 0) {
        SYSTEM_INFO system{};
        ::GetSystemInfo(&system);
        workers = system.dwNumberOfProcessors;
    }
    Workers started(job, std::clamp<size_t>(workers, 1, items.size()));
    if (!started.Started()) {
        job.running = 1;
        ReadWorker(&job);
    }
    AnswerUntilFinished(job.finished, answerMessages);
}

void ReadPayloadItem(const std::string& resourceName, std::string& fileName, int32_t& dateTime,
                     std::string& content) {
    fileName.clear();
    std::string key;
    BuildPayloadKey(key);
    ResourceBytes stored = FindOwnResource(resourceName);
    DecodePayloadItem(stored.data, stored.size, key, fileName, dateTime, content);
}

std::string ReadRawResource(const std::string& name) {
    ResourceBytes bytes = FindOwnResource(name);
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

}  // namespace pellion
