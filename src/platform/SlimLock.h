#pragma once

#include <windows.h>

// Holds a slim lock for one scope. Taking one, and waiting on a condition with it,
// costs no trip to the kernel (or under Wine to its server) unless a thread must
// really sleep.
class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& lock_;
};
