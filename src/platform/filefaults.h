// Lets tests make one step of reading or writing a text file fail with a
// chosen system error, for causes a test cannot bring about for real on
// every machine and for every user (a full disk, a read-only file system, a
// lock held by another program). Production code only asks.
#pragma once

namespace filefaults {

enum class Step { OpenRead, Read, CreateTemp, OpenWrite, Write, Sync, Rename };

// The next time the step runs it fails with error (an errno value).
void failNext(Step step, int error);
void clear();
// The error planted for the step, once; 0 when none is.
int take(Step step);

} // namespace filefaults
